#pragma once

#include "freshsheet.h"

// A grade sheet as the observation dialog sees it, without its window: the grid's texts of
// a real grade file, the looks of the names, what the dialog asked of the sheet, and a
// save that writes the grid back into the file as the sheet's save does.

#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "gradefile/gradefilelines.h"
#include "observation/observationsheet.h"

#include <QColor>
#include <QFileInfo>

#include <functional>
#include <vector>

class FakeObservationSheet : public observation::ObservationSheet {
public:
    static constexpr int kNameColumn = 7;
    static constexpr int kOrderColumn = 9;
    static constexpr int kObservationColumn = 10;

    struct NameLook {
        QColor colour = Qt::black;
        bool bold = false;
    };

    // The sheet of the subject grade file at path (a sample of examples/floppy, or a copy
    // of one); no pupil when it cannot be read.
    static FakeObservationSheet fromGradeFile(const QString& path)
    {
        FakeObservationSheet sheet;
        const gradefile::GradeFileRead read = gradefile::readGradeFile(path);
        if (!read.lines)
            return sheet;
        const gradefile::DocumentRead document =
            gradefile::readGradeDocument(QFileInfo(path).fileName(), *read.lines);
        if (!document.document)
            return sheet;
        sheet.document = *document.document;
        sheet.table = freshSheetOf(sheet.document);
        sheet.names.resize(sheet.table.size());
        return sheet;
    }

    int pupilCount() const override { return int(table.size()) - 1; }
    QString pupilName(int row) const override { return text(kNameColumn, row); }
    QString orderNumber(int row) const override { return text(kOrderColumn, row); }
    QString observationCell(int row) const override { return text(kObservationColumn, row); }
    void setObservationCell(int row, const QString& text) override
    {
        writtenRows.push_back(row);
        if (isPupil(row))
            table[size_t(row)][kObservationColumn] = text;
    }
    void setNameLook(int row, const QColor& colour, bool bold) override
    {
        if (isPupil(row))
            names[size_t(row)] = {colour, bold};
    }
    void moveCursorTo(int row) override { cursorRow = row; }
    void markModified() override { modified = true; }
    // Writes the grid into the grade file writesTo as the sheet's save does: the lines
    // rebuilt with the counters raised, the file replaced safely. Nothing is written while
    // writesTo is empty, so that no test changes a sample by mistake.
    void save() override
    {
        ++saves;
        if (onSave)
            onSave();
        if (writesTo.isEmpty())
            return;
        const gradefile::EndLineFields end =
            document.endLines.empty() ? gradefile::EndLineFields() : document.endLines.back();
        const gradefile::SaveLinesBuilt built = gradefile::buildGradeFileLines(
            document.key, document.caption, table, gradefile::gradeSpanOf(table),
            {end.region.value_or(QString()), end.establishment.value_or(QString()),
             end.teacher.value_or(QString())},
            end.saveNumber.value_or(0), end.printNumber.value_or(0));
        savedToDisk = !built.counterOverflow && gradefile::writeGradeFile(writesTo, built.lines).ok;
    }

    bool isPupil(int row) const { return row >= 1 && row <= pupilCount(); }
    QString text(int column, int row) const
    {
        return isPupil(row) ? table[size_t(row)][size_t(column)] : QString();
    }
    NameLook nameLook(int row) const { return isPupil(row) ? names[size_t(row)] : NameLook(); }

    QString writesTo;
    gradefile::GradeDocument document;
    gradefile::SheetTable table;  // row 0 the headers, then one row per pupil
    std::vector<NameLook> names;  // by row, as the table
    std::vector<int> writtenRows; // each row whose observation the dialog wrote, in order
    int cursorRow = 0;
    bool modified = false;
    int saves = 0;
    bool savedToDisk = false;
    std::function<void()> onSave; // runs as the save begins
};
