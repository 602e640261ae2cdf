#include "core/observation/phrases.h"

namespace observation {

const std::array<Phrase, kPhraseCount>& phrases()
{
    static const std::array<Phrase, kPhraseCount> table = {{
        {1, QStringLiteral("نتائج ضعيفة"), Level::Weak},
        {2, QStringLiteral("دون المطلوب"), Level::Weak},
        {3, QStringLiteral("دون المتوسّط"), Level::Average},
        {4, QStringLiteral("متوسّط"), Level::Average},
        {5, QStringLiteral("فوق المتوسّط"), Level::Average},
        {6, QStringLiteral("نتائج مرضيّة"), Level::Good},
        {7, QStringLiteral("نتائج حسنة"), Level::Good},
        {8, QStringLiteral("نتائج مشرّفة"), Level::Good},
        {9, QStringLiteral("نتائج ممتازة"), Level::Good},
    }};
    return table;
}

std::optional<QString> phraseForKey(int functionKey)
{
    if (functionKey < 1 || functionKey > kPhraseCount)
        return std::nullopt;
    return phrases()[size_t(functionKey - 1)].text;
}

Rgb levelColour(Level level)
{
    switch (level) {
    case Level::Weak:
        return {255, 0, 0};
    case Level::Average:
        return {0, 0, 192};
    case Level::Good:
        return {0, 128, 0};
    case Level::Free:
        return {0, 0, 255};
    case Level::None:
        break;
    }
    return {0, 0, 0};
}

} // namespace observation
