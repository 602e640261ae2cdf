#pragma once

#include "print/presentation.h"

namespace sheet {

class SpreadGrid;

// Gives the grade grid one of its looks (normal or enlarged), cell by cell. Row heights
// never go below what the grid's font needs, nor the header row below the two lines an
// exam name may take: no text is cut on screen.
class GridPresentation {
public:
    explicit GridPresentation(SpreadGrid& grid);

    void apply(const print::PresentationLook& look);

private:
    SpreadGrid& m_grid;
    int m_headerHeight;
};

// Widens each shown column that is too narrow for its texts in the fonts the grid uses
// (the header on its two lines): the designed widths were chosen for Tahoma, and a wider
// font standing in for it must not cut an identifier or an exam's name.
void fitColumnsToTexts(SpreadGrid& grid);

} // namespace sheet
