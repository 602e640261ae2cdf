#pragma once

#include "core/card/cardtexts.h"
#include "core/disk/gradedisk.h"
#include "core/sheet/gradesheet.h"

namespace sheet {

// What an opened subject grade file is, beside the sheet of its grades: the file it is on the
// disk, its caption, its card texts and counters, whether it is shown for reading only. Its
// save is the one the window and the gradefile tool both use.
class SheetDocument {
public:
    // The sheet filled from an opened file, with that file's own card texts.
    void open(const gradefile::GradeDocument& document);

    GradeSheet& sheet() { return m_sheet; }
    const GradeSheet& sheet() const { return m_sheet; }
    const QString& key() const { return m_key; }
    const QString& caption() const { return m_caption; }
    const QString& nameLayout() const { return m_nameLayout; }
    const gradefile::OpenedFile& file() const { return m_file; }
    const print::CardTexts& cardTexts() const { return m_cardTexts; }
    // A card printed takes the number of the save it shows.
    void setPrintNumber(qint16 number) { m_cardTexts.printNumber = number; }
    // Shown for reading only, while another window of the program has the file open.
    void setReadOnly(bool readOnly) { m_sheet.setReadOnly(readOnly); }
    bool isReadOnly() const { return m_sheet.isReadOnly(); }
    // Whether a save reached the disk since the file was opened.
    bool isSaved() const { return m_saved; }
    // Why the file as opened could not be written back (a line longer than the format holds),
    // for the support team; none when it can be.
    const std::optional<QString>& cannotBeSaved() const { return m_cannotBeSaved; }

    // Writes the sheet into its file on the disk, as the lines the administration reads; the
    // save number goes on from lastSaveNumber. On failure nothing changed, here or on the disk.
    gradefile::FileError save(const gradefile::GradeDisk& disk, qint16 lastSaveNumber,
                              const gradefile::WriteFaultInjector* faults = nullptr);

private:
    gradefile::SaveLinesBuilt linesToSave(qint16 lastSaveNumber) const;

    GradeSheet m_sheet;
    QString m_key;
    QString m_caption;
    QString m_nameLayout;
    gradefile::OpenedFile m_file;
    print::CardTexts m_cardTexts;
    bool m_saved = false;
    std::optional<QString> m_cannotBeSaved;
};

} // namespace sheet
