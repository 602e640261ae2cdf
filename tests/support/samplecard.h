#pragma once

// The grade card of a sample file from examples/floppy, as the grade sheet prints it.

#include "core/card/cardtexts.h"
#include "core/card/printedsheet.h"
#include "core/gradefile/gradefileio.h"
#include "core/sheet/openedsheet.h"

#include <optional>

struct SampleCard {
    gradefile::GradeDocument document;
    print::CardTexts texts;
    print::PrintedSheet sheet;
};

// The sample's pupils repeated to give pupils rows (0: the file's own); a width or size other
// than 0 replaces the card's own.
inline std::optional<SampleCard> sampleCard(const QString& fileName, int pupils = 0,
                                            double gradeWidth = 0, double identifierWidth = 0,
                                            qreal pointSize = 0)
{
    const gradefile::GradeFileRead read =
        gradefile::readGradeFile(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName);
    if (!read.lines)
        return std::nullopt;
    gradefile::DocumentRead opened = gradefile::readGradeDocument(fileName, *read.lines);
    if (!opened.document || opened.document->rowCount == 0)
        return std::nullopt;
    SampleCard card{*opened.document, {}, {}};
    print::resetCardTexts(card.texts);
    print::completeCardTexts(card.texts, card.document);

    const gradefile::SheetTable file = sheet::openedSheetTable(card.document);
    print::CardSheet sheet{
        {file[0]}, sheet::shownColumnsOf(file), card.document.nameLayout == QLatin1String("C")};
    for (int row = 0; row < (pupils > 0 ? pupils : card.document.rowCount); ++row)
        sheet.cells.push_back(file[size_t(row % card.document.rowCount + 1)]);
    print::CardLook look;
    look.font.pointSize = pointSize > 0 ? pointSize : look.font.pointSize;
    if (gradeWidth > 0)
        std::fill(look.columnWidths.begin() + 1, look.columnWidths.begin() + 7, gradeWidth);
    if (identifierWidth > 0)
        look.columnWidths[print::kIdentifierColumn] = identifierWidth;
    card.sheet = print::composePrintedSheet(sheet, look);
    return card;
}
