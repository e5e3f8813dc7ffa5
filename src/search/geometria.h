#pragma once

class QWidget;

// The search dialogs keep the fixed layout they were drawn with: positions and sizes are given in
// twips (1440 to the inch) and drawn in the .ui at 96 dpi (15 twips to the pixel).
namespace Geometria {

// Pixels for a length in twips at the logical DPI of the widget's screen.
int daTwips(int twips, const QWidget *widget);
// Scales the geometry of every child of a window drawn at 96 dpi to the screen's logical DPI
// (nothing to do at 96 dpi). Called once, after setupUi.
void adattaAlDpi(QWidget *finestra);

} // namespace Geometria
