#pragma once

// A data-driven test's table declared in one place: its columns, typed and named in order, and
// the function that adds a row, its name first and then its values in the columns' order.
//   const auto row = dataTable<QString, int>({"text", "length"});
//   row("two letters", "ab", 2);

#include "sheet/cellrules.h"

#include <QTest>

#include <array>

template <typename... Types>
auto dataTable(const std::array<const char*, sizeof...(Types)>& columns)
{
    size_t column = 0;
    (QTest::addColumn<Types>(columns[column++]), ...);
    return [](const QByteArray& name, const Types&... values) {
        (QTest::newRow(name.constData()) << ... << values);
    };
}

// The cell a data row names "COLUMN,ROW".
inline sheet::Cell cellNamed(const QString& name)
{
    return {name.section(u',', 0, 0).toInt(), name.section(u',', 1).toInt()};
}
