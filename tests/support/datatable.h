#pragma once

// A data-driven test's table declared in one place: its columns, typed and named in order, and
// the function that adds a row, its name first and then its values in the columns' order; the
// test function takes the current row's values back in one statement.
//   const auto row = dataTable<QString, int>({"text", "length"});
//   row("two letters", "ab", 2);
//   const auto [text, length] = fetchRow<QString, int>({"text", "length"});

#include <QTest>

#include <array>
#include <tuple>
#include <utility>

template <typename... Types>
auto dataTable(const std::array<const char*, sizeof...(Types)>& columns)
{
    size_t column = 0;
    (QTest::addColumn<Types>(columns[column++]), ...);
    return [](const QByteArray& name, const Types&... values) {
        (QTest::newRow(name.constData()) << ... << values);
    };
}

template <typename... Types, size_t... Index>
std::tuple<Types...> fetchRowAt(const std::array<const char*, sizeof...(Types)>& columns,
                                std::index_sequence<Index...>)
{
    return {*static_cast<Types*>(QTest::qData(columns[Index], qMetaTypeId<Types>()))...};
}

// As QFETCH does for each column.
template <typename... Types>
std::tuple<Types...> fetchRow(const std::array<const char*, sizeof...(Types)>& columns)
{
    return fetchRowAt<Types...>(columns, std::index_sequence_for<Types...>());
}
