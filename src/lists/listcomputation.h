// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/addresslistparser.h"
#include "lists/addressset.h"

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The operations of the Lists page, in the order of its combo box.
enum class ListOperation
{
    MergeA,           // the fewest prefixes covering exactly the addresses of A
    AMinusB,          // prefixes of the addresses of A not in B
    AAndB,            // prefixes of the addresses in both
    AOrB,             // prefixes of the addresses in either
    OverlapsInA,      // pairs of items of A sharing addresses, duplicates included
    OverlapsOfAWithB, // pairs of an item of A and one of B sharing addresses
    RangesOfA         // the addresses of A as first - last ranges
};

// Two items sharing addresses; for OverlapsInA both come from A, first.line <= second.line.
struct ListOverlap
{
    ListItem first;
    ListItem second;
    AddressRange shared;
};

// The rows of an operation's result: prefixes (each optionally split into
// prefixes of a chosen length), ranges or overlap pairs. IPv4 rows come
// first, each family in address order. Split rows are computed on demand, so
// the row count may reach 2^128.
class ListResult
{
public:
    enum class Kind
    {
        Prefixes,
        Ranges,
        Overlaps
    };
    // The most overlap pairs a result keeps; more are counted, not kept.
    static constexpr size_t kMaxOverlaps = 1000000;

    [[nodiscard]] Kind GetKind() const { return m_kind; }
    // The number of rows, saturated at the largest UInt128.
    [[nodiscard]] UInt128 GetRowCount() const;
    // The number of rows in decimal, exact (2^128 for ::/0 split into /128).
    [[nodiscard]] std::string RowCountText() const;
    // Row row's prefix or range (Prefixes, Ranges); row below GetRowCount().
    [[nodiscard]] AddressRange GetRange(UInt128 row) const;
    // Row row's pair (Overlaps); row below GetRowCount().
    [[nodiscard]] const ListOverlap& GetOverlap(size_t row) const;
    // Overlap pairs found beyond kMaxOverlaps.
    [[nodiscard]] UInt128 GetDroppedOverlaps() const;

    // The column titles: "Prefix" (or "Range"), "First Address", "Last
    // Address", "Addresses"; for overlaps the two items, their lines, the
    // shared range and its size.
    [[nodiscard]] std::vector<std::string> ColumnTitles() const;
    // Cell text of row and column, as shown, copied and saved.
    [[nodiscard]] std::string CellText(UInt128 row, int column) const;
    // The addresses of the result of one family (Prefixes, Ranges) or shared
    // by the pairs (Overlaps, counted once each), exact.
    [[nodiscard]] std::string AddressCountText(AddressFamily family) const;

private:
    friend class ListComputation;
    Kind m_kind = Kind::Prefixes;
    // Implementation-defined members follow.

    // Takes set's prefixes (or its ranges) as the rows of its family.
    void SetRows(AddressSet set, int split);
    // The rows of family, saturated.
    [[nodiscard]] UInt128 FamilyRowCount(size_t family) const;
    // The row of family.
    [[nodiscard]] AddressRange FamilyRange(size_t family, UInt128 row) const;

    // Per family: the prefixes or ranges, the split length or -1, and with a
    // split each prefix's end row counted from the family's first (saturated).
    std::array<std::vector<AddressSpan>, 2> m_rows;
    std::array<int, 2> m_split = {-1, -1};
    std::array<std::vector<UInt128>, 2> m_rowEnds;
    std::array<AddressCount, 2> m_counts;
    AddressCount m_rowTotal;
    std::vector<ListOverlap> m_overlaps;
    UInt128 m_droppedOverlaps = 0;
};

// The texts are views: what they show must outlive the computation.
struct ListInput
{
    std::string_view a;
    std::string_view b;
    ListOperation operation = ListOperation::MergeA;
    // The length result prefixes of each family are split into; -1 for none.
    int splitIPv4 = -1;
    int splitIPv6 = -1;
};

struct ListOutcome
{
    ListResult result;
    size_t itemsA = 0;
    size_t itemsB = 0;
    std::vector<ListProblem> problemsA;
    std::vector<ListProblem> problemsB;
    // Set when the work stopped for a cancel; the rest is then incomplete.
    bool cancelled = false;
};

// Runs an operation of the Lists page from the two texts to the result rows.
class ListComputation
{
public:
    // Parses both lists (B only when the operation reads it) and computes the
    // operation. progress gets 0..1000 now and then, from the calling thread;
    // cancel, checked as often, stops the work with outcome.cancelled set.
    [[nodiscard]] static ListOutcome Run(const ListInput& input, const std::atomic<bool>& cancel,
                                         const std::function<void(int)>& progress = {});
};
