#pragma once

#include "core/observation/phrases.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace observation {

inline constexpr int kMaxObservationLength = 50;

// The grade file's text (the pupil's level), then "#" and the observation. Only the first "#"
// separates: any later one is part of the observation.
struct ObservationCell {
    QString prefix;
    std::optional<QString> observation; // none when the text holds no "#"
};

ObservationCell splitCell(const QString& cellText);
QString joinCell(const ObservationCell& cell);

QString observationOf(const QString& cellText);

// The prefix is kept whatever it holds; blanks are stored as typed; an empty observation
// removes the "#".
QString cellAfterValidation(const QString& cellText, const QString& observation);

// A preset phrase, blanks around it ignored, gives its level; any other text, blanks alone
// included, is free.
Level levelOf(const QString& observation);

struct NameLook {
    std::optional<Rgb> colour; // none: the grid's own
    bool bold = false;
    friend bool operator==(const NameLook& a, const NameLook& b)
    {
        return a.colour == b.colour && a.bold == b.bold;
    }
};
NameLook nameLookFor(const QString& observation);

// A grade file line is fields between "|": a "|" would shift every field after it, and a
// control character or a lone surrogate would break the line or the file.
QString storableText(QStringView text);

// What came in (before the cursor) loses what storableText leaves out and is cut at
// kMaxObservationLength; an observation already longer, as a grade file may hold, may be
// shortened, never lengthened.
struct BoxEdit {
    QString text;
    int cursor = 0;
};
BoxEdit admitEdit(const QString& before, const QString& edited, int cursor);

} // namespace observation
