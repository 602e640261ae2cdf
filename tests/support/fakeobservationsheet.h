#pragma once

// A grade sheet as the observation dialog sees it, without its window: the pupils of a
// real grade file, what the dialog wrote, and what it asked of the sheet.

#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "observation/observationsheet.h"

#include <QColor>
#include <QFileInfo>

#include <functional>
#include <vector>

class FakeObservationSheet : public observation::ObservationSheet {
public:
    struct Pupil {
        QString name;
        QString orderNumber;
        QString observationCell;
        QColor nameColour = Qt::black;
        bool nameBold = false;
    };

    // The pupils of the grade file at path (a sample of examples/floppy); none when it
    // cannot be read.
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
        for (const gradefile::RowCells& row : document.document->rows)
            sheet.pupils.push_back({row.value(7), row.value(9), row.value(10)});
        return sheet;
    }

    int pupilCount() const override { return int(pupils.size()); }
    QString pupilName(int row) const override { return pupil(row).name; }
    QString orderNumber(int row) const override { return pupil(row).orderNumber; }
    QString observationCell(int row) const override { return pupil(row).observationCell; }
    void setObservationCell(int row, const QString& text) override
    {
        pupil(row).observationCell = text;
        writtenRows.push_back(row);
    }
    void setNameLook(int row, const QColor& colour, bool bold) override
    {
        pupil(row).nameColour = colour;
        pupil(row).nameBold = bold;
    }
    void moveCursorTo(int row) override { cursorRow = row; }
    void markModified() override { modified = true; }
    void save() override
    {
        ++saves;
        if (onSave)
            onSave();
    }

    // Rows count from 1; a row outside the pupils is an error of the dialog, which the
    // tests see as a write to the out-of-range record.
    Pupil& pupil(int row)
    {
        return row >= 1 && row <= pupilCount() ? pupils[size_t(row - 1)] : outside;
    }
    const Pupil& pupil(int row) const
    {
        return row >= 1 && row <= pupilCount() ? pupils[size_t(row - 1)] : outside;
    }

    std::vector<Pupil> pupils;
    Pupil outside;
    std::vector<int> writtenRows;
    int cursorRow = 0;
    bool modified = false;
    int saves = 0;
    std::function<void()> onSave;
};
