#pragma once

#include <QString>

#include <array>
#include <optional>

namespace observation {

// How good an appreciation is: the colour of the pupil's name in the grade sheet says it.
// A text that is none of the preset phrases is a free observation; an empty one is none.
enum class Level { None, Weak, Average, Good, Free };

// A colour as red, green and blue, for code that draws nothing itself.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb& a, const Rgb& b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
    friend bool operator!=(const Rgb& a, const Rgb& b) { return !(a == b); }
};

// One of the preset appreciations the teacher puts into the observation box with a
// function key (F1 is functionKey 1).
struct Phrase {
    int functionKey;
    QString text;
    Level level;
};

inline constexpr int kPhraseCount = 9;

// The preset appreciations, F1 to F9, from the weakest to the best.
const std::array<Phrase, kPhraseCount>& phrases();

// The phrase of function key number functionKey (1 to 9); nothing for any other number.
std::optional<QString> phraseForKey(int functionKey);

// The colour of a level: of the pupil's name once an observation of that level is
// validated, and of the phrase's key in the dialog.
Rgb levelColour(Level level);

} // namespace observation
