#pragma once

#include <QString>

#include <array>

// As the grid shows them and the file's lines hold them; column 0 holds the row headers.
namespace gradefile {

// A subject sheet has grade columns 1 to 6, an annual averages sheet one.
enum class SheetKind { Subject, AnnualAverages };

inline constexpr int kSheetColumns = 11;
// Grade columns 1 to 6, filled from column 6 downwards: column 6 holds the first exam.
inline constexpr int kFirstGradeColumn = 6;
inline constexpr int kNameColumn = 7;
inline constexpr int kIdentifierColumn = 8;
inline constexpr int kOrderNumberColumn = 9;
// The pupil's level and observation; never shown.
inline constexpr int kLevelColumn = 10;

// The sheet's and the card's, in grid units of 90 twips.
inline constexpr std::array<double, kSheetColumns> kDesignedColumnWidths{4,  8,  8,  8, 8, 8,
                                                                         8, 39, 11, 5, 8};
// Where the whole header does not fit: the card, the large presentation.
inline const QString kShortIdentifierHeader = QStringLiteral("المعرّف");

} // namespace gradefile
