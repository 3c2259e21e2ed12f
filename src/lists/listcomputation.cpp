// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/listcomputation.h"

#include "lists/listoverlaps.h"
#include "lists/listscanner.h"

#include <algorithm>
#include <thread>

namespace {
constexpr UInt128 kAll = ~static_cast<UInt128>(0);
// Typical lengths of a list's lines, for a first guess at its item count.
constexpr size_t kTypicalIPv4Line = 12;
constexpr size_t kTypicalIPv6Line = 24;
// Progress calls are at least this far apart (of 1000).
constexpr int kProgressStep = 10;

using Combine = AddressSet (AddressSet::*)(const AddressSet&) const;

struct OperationInfo
{
    bool readsB;
    ListResult::Kind kind;
    Combine combine; // a with b; null for a alone
};
// In the order of ListOperation.
constexpr std::array<OperationInfo, 7> kOperations = {{
    {false, ListResult::Kind::Prefixes, nullptr},
    {true, ListResult::Kind::Prefixes, &AddressSet::Minus},
    {true, ListResult::Kind::Prefixes, &AddressSet::Intersection},
    {true, ListResult::Kind::Prefixes, &AddressSet::Union},
    {false, ListResult::Kind::Overlaps, nullptr},
    {true, ListResult::Kind::Overlaps, nullptr},
    {false, ListResult::Kind::Ranges, nullptr},
}};

constexpr std::array<AddressFamily, 2> kFamilies = {AddressFamily::IPv4, AddressFamily::IPv6};

UInt128 SaturatingAdd(UInt128 a, UInt128 b)
{
    return a > kAll - b ? kAll : a + b;
}

// Passes progress on a hundredth at a time at the most.
class Progress
{
public:
    explicit Progress(const std::function<void(int)>& callback)
        : m_callback(callback)
    {
    }

    void Report(int permille)
    {
        if (!m_callback || (permille < m_last + kProgressStep && permille != 1000) || permille == m_last)
            return;
        m_last = permille;
        m_callback(permille);
    }

private:
    const std::function<void(int)>& m_callback;
    int m_last = -kProgressStep;
};

// Keeps each family's spans, without lines: all the set operations need.
class SpanSink : public ListSink
{
public:
    // Room for the items of text, guessed from its size: growing copies and touches twice the memory.
    explicit SpanSink(std::string_view text)
    {
        m_ipv4.reserve(text.size() / kTypicalIPv4Line);
        m_ipv6.reserve(text.size() / kTypicalIPv6Line);
    }
    void Add(AddressFamily family, UInt128 first, UInt128 last, quint32 /*line*/) override
    {
        if (family == AddressFamily::IPv4)
            m_ipv4.push_back(static_cast<quint64>(first) << 32 | static_cast<quint64>(last));
        else
            m_ipv6.push_back({first, last});
    }
    // The IPv4 spans, sorted, and the IPv6 set; the sink is left empty.
    void Take(std::vector<quint64>& ipv4, AddressSet& ipv6, const std::atomic<bool>& cancel)
    {
        AddressSet::SortIPv4Keys(m_ipv4);
        ipv4 = std::move(m_ipv4);
        ipv6 = AddressSet::FromSpans(AddressFamily::IPv6, std::move(m_ipv6), &cancel);
    }
    [[nodiscard]] size_t Count() const { return m_ipv4.size() + m_ipv6.size(); }

private:
    std::vector<quint64> m_ipv4;
    std::vector<AddressSpan> m_ipv6;
};

// Texts this long are read in two halves at once.
constexpr size_t kHalvesBytes = size_t{1} << 20;

// Line breaks of text as the scanner counts them: LF, CRLF or CR.
quint32 LineBreaks(std::string_view text)
{
    auto breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    for (size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1)) {
        if (at + 1 == text.size() || text[at + 1] != '\n')
            ++breaks;
    }
    return static_cast<quint32>(breaks);
}

// Where the second half of a long text starts, after a line break; npos for a short one.
size_t HalfWay(std::string_view text)
{
    const size_t end = text.size() < kHalvesBytes ? std::string_view::npos : text.find('\n', text.size() / 2);
    return end == std::string_view::npos || end + 1 == text.size() ? std::string_view::npos : end + 1;
}

// What a part of a text holds: its IPv4 spans sorted, its IPv6 set, its item count.
struct ReadOut
{
    std::vector<quint64> ipv4;
    AddressSet ipv6{AddressFamily::IPv6};
    size_t items = 0;
};

bool ReadPart(std::string_view text, ReadOut& out, std::vector<ListProblem>& problems, const std::atomic<bool>& cancel,
              const std::function<bool(size_t)>& proceed)
{
    SpanSink sink(text);
    if (!ListScanner::Scan(text, sink, problems, proceed))
        return false;
    out.items = sink.Count();
    sink.Take(out.ipv4, out.ipv6, cancel);
    return !cancel.load();
}

// Reads text into the sets of both families, its item count and problems;
// false when cancelled. A long text is read in two halves at once, proceed
// being called now and then with the bytes read on this thread's behalf.
bool ReadSets(std::string_view text, std::array<AddressSet, 2>& sets, size_t& items, std::vector<ListProblem>& problems,
              const std::atomic<bool>& cancel, const std::function<bool(size_t)>& proceed)
{
    const size_t split = HalfWay(text);
    ReadOut first, second;
    bool done = false;
    if (split == std::string_view::npos) {
        done = ReadPart(text, first, problems, cancel, proceed);
    } else {
        // The second half's lines are counted on from the first's end.
        std::vector<ListProblem> secondProblems;
        bool secondDone = false;
        std::thread other([&] {
            secondDone = ReadPart(text.substr(split), second, secondProblems, cancel,
                                  [&cancel](size_t) { return !cancel.load(); });
        });
        done = ReadPart(text.substr(0, split), first, problems, cancel,
                        [&](size_t read) { return proceed(read * text.size() / split); });
        other.join();
        done = done && secondDone;
        const quint32 lines = LineBreaks(text.substr(0, split));
        for (ListProblem& problem : secondProblems) {
            problem.line += lines;
            problems.push_back(std::move(problem));
        }
    }
    if (!done)
        return false;
    items = first.items + second.items;
    sets[0] = AddressSet::FromSortedIPv4Keys(first.ipv4, second.ipv4);
    sets[1] = second.ipv6.GetSpans().empty() ? std::move(first.ipv6) : first.ipv6.Union(second.ipv6);
    return !cancel.load();
}
} // namespace

UInt128 ListResult::FamilyRowCount(size_t family) const
{
    if (m_split[family] < 0)
        return m_rows[family].size();
    return m_rowEnds[family].empty() ? 0 : m_rowEnds[family].back();
}

UInt128 ListResult::GetRowCount() const
{
    if (m_kind == Kind::Overlaps)
        return m_overlaps.size();
    return SaturatingAdd(FamilyRowCount(0), FamilyRowCount(1));
}

std::string ListResult::RowCountText() const
{
    return m_kind == Kind::Overlaps ? IPv6SubnetPlan::DecimalText(m_overlaps.size()) : m_rowTotal.Text();
}

AddressRange ListResult::FamilyRange(size_t family, UInt128 row) const
{
    const std::vector<AddressSpan>& rows = m_rows[family];
    const int split = m_split[family];
    if (split < 0)
        return {kFamilies[family], rows[static_cast<size_t>(row)].first, rows[static_cast<size_t>(row)].last};
    const std::vector<UInt128>& ends = m_rowEnds[family];
    const auto index = static_cast<size_t>(std::upper_bound(ends.begin(), ends.end(), row) - ends.begin());
    const AddressRange prefix{kFamilies[family], rows[index].first, rows[index].last};
    if (prefix.PrefixLength() >= split)
        return prefix;
    const UInt128 offset = row - (index == 0 ? 0 : ends[index - 1]);
    return AddressRange::FromPrefix(prefix.family,
                                    prefix.first + (offset << (AddressRange::Bits(prefix.family) - split)), split);
}

AddressRange ListResult::GetRange(UInt128 row) const
{
    if (m_kind == Kind::Overlaps)
        return m_overlaps[static_cast<size_t>(row)].shared;
    const UInt128 ipv4Rows = FamilyRowCount(0);
    return row < ipv4Rows ? FamilyRange(0, row) : FamilyRange(1, row - ipv4Rows);
}

const ListOverlap& ListResult::GetOverlap(size_t row) const
{
    return m_overlaps[row];
}

UInt128 ListResult::GetDroppedOverlaps() const
{
    return m_droppedOverlaps;
}

std::vector<std::string> ListResult::ColumnTitles() const
{
    switch (m_kind) {
    case Kind::Prefixes:
        return {"Prefix", "First Address", "Last Address", "Addresses"};
    case Kind::Ranges:
        return {"Range", "First Address", "Last Address", "Addresses"};
    case Kind::Overlaps:
        break;
    }
    return {"Item", "Line", "Other Item", "Line", "Shared", "Addresses"};
}

std::string ListResult::CellText(UInt128 row, int column) const
{
    if (m_kind == Kind::Overlaps) {
        const ListOverlap& overlap = m_overlaps[static_cast<size_t>(row)];
        switch (column) {
        case 0:
            return overlap.first.range.Text();
        case 1:
            return std::to_string(overlap.first.line);
        case 2:
            return overlap.second.range.Text();
        case 3:
            return std::to_string(overlap.second.line);
        case 4:
            return overlap.shared.Text();
        case 5:
            return overlap.shared.CountText();
        default:
            return {};
        }
    }
    const AddressRange range = GetRange(row);
    switch (column) {
    case 0:
        return m_kind == Kind::Prefixes ? range.Text() : range.RangeText();
    case 1:
        return AddressRange::AddressText(range.family, range.first);
    case 2:
        return AddressRange::AddressText(range.family, range.last);
    case 3:
        return range.CountText();
    default:
        return {};
    }
}

std::string ListResult::AddressCountText(AddressFamily family) const
{
    return m_counts[static_cast<size_t>(family)].Text();
}

void ListResult::SetRows(AddressSet set, int split)
{
    const auto family = static_cast<size_t>(set.GetFamily());
    m_counts[family] = set.Count();
    m_rows[family] = m_kind == Kind::Ranges ? set.GetSpans() : set.TakePrefixes();
    const int bits = AddressRange::Bits(set.GetFamily());
    m_split[family] = m_kind == Kind::Prefixes && split >= 0 && split <= bits ? split : -1;
    // Row counts are summed as counts of addresses are: a run of n stands for n rows, the whole space for 2^128.
    const auto countRows = [this](UInt128 rows, bool all) {
        if (rows != 0 || all)
            m_rowTotal.Add({AddressFamily::IPv6, 0, all ? kAll : rows - 1});
    };
    if (m_split[family] < 0) {
        countRows(m_rows[family].size(), false);
        return;
    }
    std::vector<UInt128>& ends = m_rowEnds[family];
    ends.reserve(m_rows[family].size());
    UInt128 end = 0;
    for (const AddressSpan& prefix : m_rows[family]) {
        const int shorter = split - AddressRange{set.GetFamily(), prefix.first, prefix.last}.PrefixLength();
        const UInt128 rows = shorter <= 0 ? 1 : shorter >= 128 ? kAll : static_cast<UInt128>(1) << shorter;
        countRows(rows, shorter >= 128);
        end = SaturatingAdd(end, rows);
        ends.push_back(end);
    }
}

ListOutcome ListComputation::Run(const ListInput& input, const std::atomic<bool>& cancel,
                                 const std::function<void(int)>& progress)
{
    ListOutcome outcome;
    ListResult& result = outcome.result;
    const OperationInfo& info = kOperations.at(static_cast<size_t>(input.operation));
    result.m_kind = info.kind;
    Progress meter(progress);
    meter.Report(0);
    // Reading takes most of the time: a gets 0..400 (0..800 alone), b 400..800.
    const int share = info.readsB ? 400 : 800;
    // The proceed of a text's reading: its share of the progress from from, and the cancel.
    const auto proceedFor = [&](std::string_view text, int from) {
        return [&meter, &cancel, share, text, from](size_t offset) {
            meter.Report(from
                         + static_cast<int>(static_cast<double>(share) * static_cast<double>(offset)
                                            / static_cast<double>(text.size())));
            return !cancel.load();
        };
    };
    const auto scan = [&](std::string_view text, ListSink& sink, std::vector<ListProblem>& problems, int from) {
        return !cancel.load() && ListScanner::Scan(text, sink, problems, proceedFor(text, from));
    };
    bool done = false;
    if (info.kind == ListResult::Kind::Overlaps) {
        ListItemSink a, b;
        done = scan(input.a, a, outcome.problemsA, 0) && (!info.readsB || scan(input.b, b, outcome.problemsB, share));
        outcome.itemsA = a.Items().size();
        outcome.itemsB = b.Items().size();
        meter.Report(800);
        done = done
               && ListOverlaps::Find(a.Items(), info.readsB ? &b.Items() : nullptr, cancel, result.m_overlaps,
                                     result.m_droppedOverlaps, result.m_counts);
    } else {
        using Sets = std::array<AddressSet, 2>;
        const auto read = [&](std::string_view text, Sets& sets, size_t& items, std::vector<ListProblem>& problems,
                              int from) {
            return !cancel.load() && ReadSets(text, sets, items, problems, cancel, proceedFor(text, from));
        };
        Sets a = {AddressSet(AddressFamily::IPv4), AddressSet(AddressFamily::IPv6)}, b = a;
        done = read(input.a, a, outcome.itemsA, outcome.problemsA, 0)
               && (!info.readsB || read(input.b, b, outcome.itemsB, outcome.problemsB, share));
        const std::array<int, 2> splits = {input.splitIPv4, input.splitIPv6};
        for (size_t family = 0; done && family < kFamilies.size(); ++family) {
            meter.Report(800 + 100 * static_cast<int>(family));
            AddressSet set = std::move(a[family]);
            if (info.combine != nullptr)
                set = (set.*info.combine)(b[family]);
            done = !cancel.load();
            result.SetRows(std::move(set), splits[family]);
        }
    }
    outcome.cancelled = !done || cancel.load();
    if (!outcome.cancelled)
        meter.Report(1000);
    return outcome;
}
