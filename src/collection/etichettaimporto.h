#pragma once

#include <QLabel>

// The label of an amount due in the collection window. It announces every caption set through
// it (the cash-on-delivery label unlocks its collection group that way) and every click (the
// advance and freight-collect labels unlock theirs on a click).
class EtichettaImporto : public QLabel
{
    Q_OBJECT
public:
    explicit EtichettaImporto(QWidget *parent = nullptr);

    // Sets the caption and raises captionCambiata(), also when the caption stays the same.
    // QLabel::setText is not virtual: the window sets these captions through this class.
    void setText(const QString &testo);

signals:
    void captionCambiata();
    // A left-button press and release on the label.
    void cliccata();

protected:
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;

private:
    bool m_premuta = false;
};
