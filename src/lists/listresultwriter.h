// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/listcomputation.h"

#include <atomic>
#include <string>

class QIODevice;

// Writes a result for other programs.
class ListResultWriter
{
public:
    enum class Format
    {
        Text, // one prefix (or range) a line; overlap rows as tab-separated cells
        Csv   // RFC 4180: the header row, then the rows, CRLF line ends
    };
    // Writes the first maxRows rows (all when fewer); false when the device
    // refuses a write or cancel is set.
    [[nodiscard]] static bool Write(const ListResult& result, Format format, QIODevice& device, UInt128 maxRows,
                                    const std::atomic<bool>* cancel = nullptr);
    // field as a CSV field: quoted, its quotes doubled, when it holds a comma, a quote or a line break.
    [[nodiscard]] static std::string CsvField(const std::string& field);
};
