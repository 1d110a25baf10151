#pragma once
// Data-driven tests from a table of structs whose first member is the row name: one
// line per case, and one fetch instead of one per column.

#include <QTest>

template <typename Row, size_t N> void AddTableRows(const Row (&rows)[N])
{
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < N; ++i)
        QTest::newRow(rows[i].name) << int(i);
}

template <typename Row, size_t N> const Row& TableRow(const Row (&rows)[N])
{
    QFETCH(int, row);
    return rows[row];
}
