#pragma once

#include <QHeaderView>

// The column headings of the shipment grid: the field names, on up to two lines so that they stay
// readable in the narrow columns of the list. A name breaks after an underscore ("Data_" /
// "Emissione"), a single long word wherever it must.
class IntestazioneGriglia : public QHeaderView
{
    Q_OBJECT
public:
    explicit IntestazioneGriglia(QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    static constexpr int righe = 2;
};
