#include "sheet/gradeblock.h"

namespace sheet {

namespace {

// The value with plain digits and "." for its decimal sign; spaces around it dropped.
QString plainValue(const QString& value)
{
    QString plain;
    const QString trimmed = value.trimmed();
    plain.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        const char32_t mapped = plainCharacter(c.unicode());
        plain.append(mapped == U',' ? QChar(u'.') : QChar(char16_t(mapped)));
    }
    return plain;
}

} // namespace

std::optional<CellCheck> checkBroughtValue(const QString& value)
{
    const QString plain = plainValue(value);
    if (plain.isEmpty())
        return std::nullopt;
    if (isMark(plain) || isPlainNumber(plain))
        return checkCell(SheetKind::Subject, plain);
    return CellCheck{value.trimmed(), GradeLook::Refused, true};
}

} // namespace sheet
