#pragma once

// A grade sheet as the observation dialog sees it, without its window.

#include "gui/windows/observation/observationsheet.h"

#include <QtGui>

#include <functional>
#include <vector>

class FakeObservationSheet : public observation::ObservationSheet {
public:
    struct Pupil {
        QString cell; // the level, then "#" and the observation once there is one
        QColor colour = Qt::black;
        bool bold = false;
    };

    explicit FakeObservationSheet(const QStringList& cells)
    {
        for (const QString& cell : cells)
            pupils.push_back({cell});
    }

    int pupilCount() const override { return int(pupils.size()); }
    QString pupilName(int row) const override { return QStringLiteral("تلميذ %1").arg(row); }
    QString orderNumber(int row) const override { return QString::number(row); }
    QString observationCell(int row) const override { return pupils.at(size_t(row - 1)).cell; }
    void setObservationCell(int row, const QString& text) override { pupil(row).cell = text; }
    void setNameLook(int row, const QColor& colour, bool bold) override
    {
        pupil(row) = {pupil(row).cell, colour, bold};
    }
    void moveCursorTo(int row) override { cursorRow = row; }
    void markModified() override { modified = true; }
    void save() override { ++saves, onSave(); }
    Pupil& pupil(int row) { return pupils.at(size_t(row - 1)); }

    std::vector<Pupil> pupils; // row 1 first
    int cursorRow = 0;
    bool modified = false;
    int saves = 0;
    std::function<void()> onSave = [] {}; // runs as the save begins
};
