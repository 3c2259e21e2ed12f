// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as two lists A and B (the first byte says where A ends): every operation runs; A minus A and A and
// nothing are empty; the merge's own text merges to itself with no problem.

#include "fuzz/fuzzutil.h"
#include "lists/listcomputation.h"
#include "lists/listresultwriter.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
ListOutcome Run(const std::string& a, ListOperation operation, const std::string& b = {}, int split = -1)
{
    const std::atomic<bool> cancel = false;
    return ListComputation::Run({a, b, operation, split, split}, cancel);
}

std::string Text(const ListResult& result)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FUZZ_CHECK(ListResultWriter::Write(result, ListResultWriter::Format::Text, buffer, ~static_cast<UInt128>(0)),
               "write refused");
    return buffer.data().toStdString();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = bytes.empty() ? 0 : 1 + static_cast<uint8_t>(bytes[0]) * (bytes.size() - 1) / 255;
    const std::string a = bytes.substr(std::min<size_t>(1, bytes.size()), split), b = bytes.substr(split);
    for (int operation = 0; operation <= static_cast<int>(ListOperation::RangesOfA); ++operation) {
        const ListResult result = Run(a, static_cast<ListOperation>(operation), b, 30).result;
        for (UInt128 row = 0; row < std::min<UInt128>(result.GetRowCount(), 64); ++row)
            FUZZ_CHECK(!result.CellText(row, 0).empty(), "an empty row");
    }
    FUZZ_CHECK(Run(a, ListOperation::AMinusB, a).result.GetRowCount() == 0, "A minus A is not empty");
    FUZZ_CHECK(Run(a, ListOperation::AAndB).result.GetRowCount() == 0, "A and nothing is not empty");
    const ListOutcome merged = Run(a, ListOperation::MergeA);
    const ListOutcome again = Run(Text(merged.result), ListOperation::MergeA);
    FUZZ_CHECK(again.problemsA.empty() && Text(again.result) == Text(merged.result), "the merge's text merges anew");
    return 0;
}
