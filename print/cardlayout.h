#pragma once

#include "core/card/pageheader.h"
#include "core/card/printedsheet.h"
#include "print/decorationblock.h"

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QTextLayout>
#include <QVector>

#include <memory>

class QPaintDevice;

namespace print {

// One page of the card: the pupil rows it carries and the sheet's columns it shows.
struct CardPage {
    int number = 0; // from 1
    int firstRow = 0;
    int lastRow = 0;
    QVector<int> columns; // indexes into the sheet's columns, left to right
};

// Measured in the fonts that print, never narrower than the sheet says; the first pages hold
// the right-hand columns, where the sheet starts reading. Lengths in the device's pixels.
class CardLayout {
public:
    CardLayout(const PrintedSheet& sheet, const PageHeader& codes, QPaintDevice* device);

    // Empty when the card can be laid out on this paper.
    QString error() const { return m_error; }

    const QVector<CardPage>& pages() const { return m_pages; }
    QSizeF pageSize() const { return m_pageSize; }
    double columnWidth(int index) const { return m_columnWidths[index]; }
    double rowHeight(int row) const { return m_rowHeights[row]; }
    double gridTop() const { return m_gridTop; }
    double gridWidth(const CardPage& page) const;
    const DecorationBlock& header() const { return *m_header; }
    const DecorationBlock& footer() const { return *m_footer; }
    double footerTop() const { return m_pageSize.height() - m_footer->height(); }
    double cellPadding() const { return m_padding; }
    QFont fontOf(const PrintedCell& cell) const;

private:
    void measureColumns(const PrintedSheet& sheet);
    void measureRows(const PrintedSheet& sheet);
    void paginate(const PrintedSheet& sheet);
    QVector<QVector<int>> columnBands(const PrintedSheet& sheet) const;
    double twipsToPixels(double twips) const;

    QPaintDevice* m_device = nullptr;
    QSizeF m_pageSize;
    double m_padding = 0;
    QVector<double> m_columnWidths;
    QVector<double> m_rowHeights;
    std::unique_ptr<DecorationBlock> m_header;
    std::unique_ptr<DecorationBlock> m_footer;
    double m_gridTop = 0;
    QVector<CardPage> m_pages;
    QString m_error;
};

// The header row's text as it prints: word-wrapped to the column's width.
std::unique_ptr<QTextLayout> headerCellLayout(const PrintedCell& cell, const QFont& font,
                                              double width, QPaintDevice* device, double* height);

} // namespace print
