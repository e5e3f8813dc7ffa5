#pragma once

#include <QLineEdit>

// A masked amount field: the text is the plain number as typed or filled in ("12,5"); while the
// field does not have the focus it shows the amount in the display format
// "€#,##0.00;(€#,##0.00)" with the separators of the default locale. A text that is not a
// number is shown as it is.
class CampoImporto : public QLineEdit
{
    Q_OBJECT
public:
    explicit CampoImporto(QWidget *parent = nullptr);

    // What the field shows while it does not have the focus: "1234,5" as "€1.234,50", "-3" as
    // "(€3,00)", a number rounded at the cent as the database stores it; a text that is not a
    // number in the default locale as it is.
    QString testoVisualizzato() const;

protected:
    void paintEvent(QPaintEvent *evento) override;
};
