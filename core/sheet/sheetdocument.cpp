#include "core/sheet/sheetdocument.h"

#include "core/gradefile/gradefileio.h"
#include "core/gradefile/rowsetwriter.h"
#include "core/sheet/openedsheet.h"

namespace sheet {

void SheetDocument::open(const gradefile::GradeDocument& document)
{
    m_key = document.key;
    m_caption = document.caption;
    m_nameLayout = document.nameLayout;
    m_file = {document.fileName, document.volume, document.contentHash};
    print::resetCardTexts(m_cardTexts);
    print::completeCardTexts(m_cardTexts, document);
    m_saved = false;
    m_sheet.reset(openedSheetTable(document));
    m_cannotBeSaved = gradefile::findUnwritableLine(linesToSave(0).lines);
}

gradefile::SaveLinesBuilt SheetDocument::linesToSave(qint16 lastSaveNumber) const
{
    return gradefile::buildGradeFileLines(
        m_key, m_caption, m_sheet.savedTable(), m_sheet.gradeFields(),
        {m_cardTexts.regionName, m_cardTexts.establishmentName, m_cardTexts.teacherName},
        lastSaveNumber, m_cardTexts.printNumber);
}

gradefile::FileError SheetDocument::save(const gradefile::GradeDisk& disk, qint16 lastSaveNumber,
                                         const gradefile::WriteFaultInjector* faults)
{
    Q_ASSERT(!isReadOnly());
    const gradefile::SaveLinesBuilt built = linesToSave(lastSaveNumber);
    // Reported as the overflow it is, as the opening reports a counter out of range.
    if (built.counterOverflow)
        return gradefile::malformedFile(
            gradefile::errorNumber::kOverflow,
            QStringLiteral(
                "Dépassement de capacité : le numéro d'enregistrement a atteint 32767."));
    const gradefile::SafeWriteResult written = disk.save(m_file, built.lines, faults);
    if (!written.ok)
        return written.error;
    m_file.contentHash = gradefile::contentHashOf(gradefile::rowsetBytes(built.lines));
    // Only a save that reached the disk counts: the next one writes the number that follows.
    m_cardTexts.saveNumber = built.saveNumber;
    m_saved = true;
    m_sheet.setModified(false);
    return {};
}

} // namespace sheet
