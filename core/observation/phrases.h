#pragma once

#include <QString>

#include <array>
#include <optional>

namespace observation {

// The colour of the pupil's name says it.
enum class Level { None, Weak, Average, Good, Free };

// For code that draws nothing itself.
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

// F1 is functionKey 1.
struct Phrase {
    int functionKey;
    QString text;
    Level level;
};

inline constexpr int kPhraseCount = 9;

// From the weakest to the best.
const std::array<Phrase, kPhraseCount>& phrases();

std::optional<QString> phraseForKey(int functionKey);

// Of the pupil's name and of the phrase's key in the dialog.
Rgb levelColour(Level level);

} // namespace observation
