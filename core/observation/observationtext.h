#pragma once

#include "core/observation/phrases.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace observation {

// The teacher types at most this many characters into the observation box.
inline constexpr int kMaxObservationLength = 50;

// The text of a pupil's observation column: what the grade file put there (the pupil's
// level), then, once an observation is given, "#" and the observation. Only the first "#"
// separates: any later one is part of the observation.
struct ObservationCell {
    QString prefix;
    std::optional<QString> observation; // none when the text holds no "#"
};

ObservationCell splitCell(const QString& cellText);
QString joinCell(const ObservationCell& cell);

// The observation the dialog shows for this column text: empty when there is none.
QString observationOf(const QString& cellText);

// The column text once the observation box's text is validated: the prefix is kept
// whatever it holds; an observation (blanks count, and are stored as typed) replaces
// whatever followed the "#"; an empty one removes the "#" and the old observation.
// Characters the grade file cannot hold are left out first (see storableText).
QString cellAfterValidation(const QString& cellText, const QString& observation);

// How the pupil's name shows an observation: a preset phrase, blanks around it ignored,
// gives its level; any other text, blanks alone included, is a free observation; an
// empty one is none.
Level levelOf(const QString& observation);

struct NameLook {
    std::optional<Rgb> colour; // none: the grid's own
    bool bold = false;
    friend bool operator==(const NameLook& a, const NameLook& b)
    {
        return a.colour == b.colour && a.bold == b.bold;
    }
};
// The colour of the level, bold as long as there is an observation.
NameLook nameLookFor(const QString& observation);

// Whether a character may stand in an observation. A grade file line is fields between
// "|", one line per record: "|" would shift every field after it, and a line break or
// any other control character breaks the line or the file. Lone halves of a surrogate
// pair have no place in the file either.
QString storableText(QStringView text);

// What an edit of the observation box leaves in it. The box held `before`; typing, a
// paste, a drop or an undo turned it into `edited`, with the cursor at `cursor` (just
// after what came in). What came in loses the characters storableText leaves out and is
// cut so that the text does not grow past kMaxObservationLength; an observation already
// longer, as a grade file may hold one, is kept and may be shortened, never lengthened.
struct BoxEdit {
    QString text;
    int cursor = 0;
};
BoxEdit admitEdit(const QString& before, const QString& edited, int cursor);

} // namespace observation
