// libFuzzer target for the rowset reader: whatever the bytes, the reader must
// return (no crash, no hang, no leak) and its answer must be coherent.
#include "core/gradefile/rowsetreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void requireCoherent(const gradefile::FieldRead& read)
{
    if (read.ok != read.error.isEmpty() || (!read.ok && !read.values.empty()))
        std::abort();
}

void requireCoherent(const gradefile::LinesRead& read, const gradefile::FieldRead& field)
{
    if (read.lines.has_value() != field.ok || read.lines.has_value() == !read.error.isEmpty())
        std::abort();
    if (read.lines && std::size_t(read.lines->size()) != field.values.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Ligne is what readRowsetLines asks for; a field of the reference files lets
    // mutations of those files reach the row handling too.
    const gradefile::FieldRead ligne = gradefile::readRowsetField(bytes, QStringLiteral("Ligne"));
    requireCoherent(ligne);
    requireCoherent(gradefile::readRowsetField(bytes, QStringLiteral("VALUE_FIELD")));
    requireCoherent(gradefile::readRowsetLines(bytes), ligne);
    return 0;
}
