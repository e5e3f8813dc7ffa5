#include "collection/etichettaimporto.h"

#include <QMouseEvent>

EtichettaImporto::EtichettaImporto(QWidget *parent) : QLabel(parent) {}

void EtichettaImporto::setText(const QString &testo)
{
    QLabel::setText(testo);
    emit captionCambiata();
}

void EtichettaImporto::mousePressEvent(QMouseEvent *evento)
{
    m_premuta = evento->button() == Qt::LeftButton;
    QLabel::mousePressEvent(evento);
}

void EtichettaImporto::mouseReleaseEvent(QMouseEvent *evento)
{
    const bool clic = m_premuta && evento->button() == Qt::LeftButton &&
                      rect().contains(evento->position().toPoint());
    m_premuta = false;
    QLabel::mouseReleaseEvent(evento);
    if (clic)
        emit cliccata();
}
