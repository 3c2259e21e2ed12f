// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTest>

// The _data() columns, one name per type in order: AddColumns<QString, int>("typed", "bits").
template <typename... Types, typename... Names>
void AddColumns(const Names&... names)
{
    (QTest::addColumn<Types>(names), ...);
}

// One _data() row; as arguments the formatter packs its columns on few lines.
template <typename... Columns>
void AddRow(const char* tag, const Columns&... columns)
{
    (QTest::newRow(tag) << ... << columns);
}
