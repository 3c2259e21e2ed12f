// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/listresultwriter.h"

#include <QIODevice>

namespace {
// Bytes gathered before a write to the device; cancel is looked at as often.
constexpr size_t kChunk = 1 << 16;

void AppendRow(std::string& out, const std::vector<std::string>& cells, ListResultWriter::Format format)
{
    const bool csv = format == ListResultWriter::Format::Csv;
    for (size_t column = 0; column < cells.size(); ++column) {
        if (column > 0)
            out += csv ? ',' : '\t';
        out += csv ? ListResultWriter::CsvField(cells[column]) : cells[column];
    }
    out += csv ? "\r\n" : "\n";
}

bool Flush(QIODevice& device, std::string& buffer)
{
    const auto size = static_cast<qint64>(buffer.size());
    const bool written = device.write(buffer.data(), size) == size;
    buffer.clear();
    return written;
}
} // namespace

std::string ListResultWriter::CsvField(const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

bool ListResultWriter::Write(const ListResult& result, Format format, QIODevice& device, UInt128 maxRows,
                             const std::atomic<bool>* cancel)
{
    const UInt128 rows = std::min(result.GetRowCount(), maxRows);
    // Text leaves prefixes and ranges in their one column.
    const int columns = format == Format::Text && result.GetKind() != ListResult::Kind::Overlaps
                            ? 1
                            : static_cast<int>(result.ColumnTitles().size());
    std::string buffer;
    buffer.reserve(kChunk + 1024);
    if (format == Format::Csv)
        AppendRow(buffer, result.ColumnTitles(), format);
    std::vector<std::string> cells(static_cast<size_t>(columns));
    for (UInt128 row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            cells[static_cast<size_t>(column)] = result.CellText(row, column);
        AppendRow(buffer, cells, format);
        if (buffer.size() >= kChunk && (!Flush(device, buffer) || (cancel != nullptr && cancel->load())))
            return false;
    }
    return (cancel == nullptr || !cancel->load()) && Flush(device, buffer);
}
