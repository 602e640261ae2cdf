#include "core/observation/observationtext.h"

#include <algorithm>

namespace observation {

namespace {

constexpr QChar kSeparator = u'#';
constexpr QChar kBlank = u' ';

// Blanks only: a phrase typed with spaces around it still counts as that phrase, but
// no other character is taken for a blank.
QStringView withoutOuterBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == kBlank)
        ++first;
    while (end > first && text.at(end - 1) == kBlank)
        --end;
    return text.mid(first, end - first);
}

bool breaksTheLine(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return c == u'|';
    }
}

qsizetype commonPrefix(QStringView a, QStringView b)
{
    const qsizetype most = std::min(a.size(), b.size());
    qsizetype n = 0;
    while (n < most && a.at(n) == b.at(n))
        ++n;
    return n;
}

qsizetype commonSuffix(QStringView a, QStringView b)
{
    const qsizetype most = std::min(a.size(), b.size());
    qsizetype n = 0;
    while (n < most && a.at(a.size() - 1 - n) == b.at(b.size() - 1 - n))
        ++n;
    return n;
}

// The first `room` code units of text, one fewer when that would split a surrogate pair.
QString cutTo(const QString& text, qsizetype room)
{
    if (room >= text.size())
        return text;
    if (room <= 0)
        return QString();
    if (text.at(room - 1).isHighSurrogate())
        --room;
    return text.left(room);
}

} // namespace

ObservationCell splitCell(const QString& cellText)
{
    const qsizetype hash = cellText.indexOf(kSeparator);
    if (hash < 0)
        return {cellText, std::nullopt};
    return {cellText.left(hash), cellText.mid(hash + 1)};
}

QString joinCell(const ObservationCell& cell)
{
    if (!cell.observation)
        return cell.prefix;
    return cell.prefix + kSeparator + *cell.observation;
}

QString observationOf(const QString& cellText)
{
    return splitCell(cellText).observation.value_or(QString());
}

QString cellAfterValidation(const QString& cellText, const QString& observation)
{
    ObservationCell cell = splitCell(cellText);
    const QString kept = storableText(observation);
    if (kept.isEmpty())
        cell.observation.reset();
    else
        cell.observation = kept;
    return joinCell(cell);
}

Level levelOf(const QString& observation)
{
    if (observation.isEmpty())
        return Level::None;
    const QStringView phrase = withoutOuterBlanks(observation);
    for (const Phrase& preset : phrases()) {
        if (phrase == preset.text)
            return preset.level;
    }
    return Level::Free;
}

NameLook nameLookFor(const QString& observation)
{
    const Level level = levelOf(observation);
    return {levelColour(level), level != Level::None};
}

QString storableText(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept.append(c);
            kept.append(text.at(++i));
        } else if (!c.isSurrogate() && !breaksTheLine(c)) {
            kept.append(c);
        }
    }
    return kept;
}

BoxEdit admitEdit(const QString& before, const QString& edited, int cursor)
{
    const qsizetype size = edited.size();
    const qsizetype at = std::clamp<qsizetype>(cursor, 0, size);
    // What follows the cursor was in the box before; what precedes the new text too. The
    // text between came in with this edit.
    const qsizetype tail = std::min(commonSuffix(before, edited), size - at);
    const qsizetype head =
        std::min({commonPrefix(before, edited), before.size() - tail, size - tail, at});
    const qsizetype kept = head + tail;
    const QString incoming = storableText(QStringView(edited).mid(head, size - kept));
    const QString admitted = cutTo(incoming, kMaxObservationLength - kept);
    return {edited.left(head) + admitted + edited.right(tail), int(head + admitted.size())};
}

} // namespace observation
