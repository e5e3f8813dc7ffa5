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

    // The formatted display of a plain text ("1234,5" -> "€1.234,50", "-3" -> "(€3,00)"), or
    // the text itself when it is not a number in the default locale.
    static QString formatta(const QString &testo);
    // What the field shows while it does not have the focus.
    QString testoVisualizzato() const;

protected:
    void paintEvent(QPaintEvent *evento) override;
};
