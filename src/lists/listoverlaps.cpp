// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/listoverlaps.h"

#include "lists/addressset.h"

#include <algorithm>
#include <tuple>

namespace {
// Steps between two looks at cancel.
constexpr size_t kCheckEvery = 65536;

// An item's range kept beside the pointer: sorting and sweeping a million
// items through pointers alone misses the cache at every step.
struct Entry
{
    UInt128 first = 0;
    UInt128 last = 0;
    const ListItem* item = nullptr;
    quint32 line = 0;
    bool fromB = false;
};

// One family's items of both lists in address order.
class FamilySweep
{
public:
    FamilySweep(AddressFamily family, const std::vector<ListItem>& a, const std::vector<ListItem>* b,
                const std::atomic<bool>& cancel)
        : m_family(family),
          m_withB(b != nullptr),
          m_cancel(cancel)
    {
        Take(a, false);
        if (b != nullptr)
            Take(*b, true);
        std::sort(m_entries.begin(), m_entries.end(), [](const Entry& x, const Entry& y) {
            return std::tie(x.first, x.last, x.line) < std::tie(y.first, y.last, y.line);
        });
    }

    // How many pairs there are, without listing them: for each item of a, the
    // other items that start before its end less those that end before its start.
    [[nodiscard]] bool CountPairs(UInt128& count)
    {
        std::vector<UInt128> firsts, lasts;
        size_t queries = 0;
        for (const Entry& entry : m_entries) {
            if (entry.fromB == m_withB) {
                firsts.push_back(entry.first);
                lasts.push_back(entry.last);
            }
            queries += entry.fromB ? 0 : 1;
        }
        std::sort(lasts.begin(), lasts.end()); // firsts are sorted already
        UInt128 sum = 0;
        for (const Entry& entry : m_entries) {
            if (entry.fromB)
                continue;
            if (!Step())
                return false;
            const auto starting = std::upper_bound(firsts.begin(), firsts.end(), entry.last);
            const auto ended = std::lower_bound(lasts.begin(), lasts.end(), entry.first);
            sum += static_cast<UInt128>(starting - firsts.begin()) - static_cast<UInt128>(ended - lasts.begin());
        }
        count = m_withB ? sum : (sum - queries) / 2; // within a, each item met itself and each pair twice
        return true;
    }

    // Appends pairs up to the most kept, in the order the sweep meets them.
    [[nodiscard]] bool ListPairs(std::vector<ListOverlap>& pairs)
    {
        std::array<std::vector<size_t>, 2> active; // heaps of entries, the earliest last on top
        const auto endsLater = [this](size_t x, size_t y) { return m_entries[x].last > m_entries[y].last; };
        for (size_t at = 0; at < m_entries.size(); ++at) {
            const ListItem& item = *m_entries[at].item;
            std::vector<size_t>& others = active[m_withB && !m_entries[at].fromB ? 1 : 0];
            while (!others.empty() && m_entries[others.front()].last < m_entries[at].first) {
                std::pop_heap(others.begin(), others.end(), endsLater);
                others.pop_back();
            }
            // Every item left has started before this one and not ended before it.
            for (const size_t other : others) {
                if (pairs.size() >= ListResult::kMaxOverlaps)
                    return true;
                if (!Step())
                    return false;
                pairs.push_back(Pair(*m_entries[other].item, item, m_entries[other].fromB));
            }
            if (!Step())
                return false;
            std::vector<size_t>& own = active[m_entries[at].fromB ? 1 : 0];
            own.push_back(at);
            std::push_heap(own.begin(), own.end(), endsLater);
        }
        return true;
    }

    // The addresses in two items of a (an item meets every earlier one through
    // the furthest end before it), or in both lists.
    [[nodiscard]] AddressCount Shared() const
    {
        std::array<std::vector<AddressSpan>, 2> sides;
        std::vector<AddressSpan> twice;
        UInt128 furthest = 0;
        for (const Entry& entry : m_entries) {
            sides[entry.fromB ? 1 : 0].push_back({entry.first, entry.last});
            if (&entry != m_entries.data() && furthest >= entry.first)
                AddressSet::AppendMerged(twice, {entry.first, std::min(furthest, entry.last)});
            furthest = &entry == m_entries.data() ? entry.last : std::max(furthest, entry.last);
        }
        if (m_withB) {
            return AddressSet::FromSpans(m_family, std::move(sides[0]))
                .Intersection(AddressSet::FromSpans(m_family, std::move(sides[1])))
                .Count();
        }
        return AddressSet::FromSpans(m_family, std::move(twice)).Count();
    }

private:
    void Take(const std::vector<ListItem>& items, bool fromB)
    {
        for (const ListItem& item : items) {
            if (item.range.family == m_family)
                m_entries.push_back({item.range.first, item.range.last, &item, item.line, fromB});
        }
    }

    [[nodiscard]] bool Step() { return ++m_steps % kCheckEvery != 0 || !m_cancel.load(); }

    // earlier started first; a's item goes first, within a the one on the earlier line.
    [[nodiscard]] ListOverlap Pair(const ListItem& earlier, const ListItem& later, bool earlierFromB) const
    {
        const AddressRange shared{m_family, later.range.first, std::min(earlier.range.last, later.range.last)};
        const bool swap = m_withB ? earlierFromB : later.line < earlier.line;
        return swap ? ListOverlap{later, earlier, shared} : ListOverlap{earlier, later, shared};
    }

    AddressFamily m_family;
    bool m_withB;
    const std::atomic<bool>& m_cancel;
    std::vector<Entry> m_entries;
    size_t m_steps = 0;
};
} // namespace

bool ListOverlaps::Find(const std::vector<ListItem>& a, const std::vector<ListItem>* b, const std::atomic<bool>& cancel,
                        std::vector<ListOverlap>& pairs, UInt128& dropped, std::array<AddressCount, 2>& shared)
{
    UInt128 total = 0;
    for (const AddressFamily family : {AddressFamily::IPv4, AddressFamily::IPv6}) {
        FamilySweep sweep(family, a, b, cancel);
        UInt128 count = 0;
        if (!sweep.CountPairs(count))
            return false;
        // Reserved from the count: growing a million pairs would copy them and need twice the memory.
        pairs.reserve(pairs.size()
                      + static_cast<size_t>(std::min<UInt128>(count, ListResult::kMaxOverlaps - pairs.size())));
        if (!sweep.ListPairs(pairs))
            return false;
        total += count;
        shared[static_cast<size_t>(family)] = sweep.Shared();
    }
    dropped = total - pairs.size();
    std::sort(pairs.begin(), pairs.end(), [](const ListOverlap& x, const ListOverlap& y) {
        return std::tie(x.first.range, x.second.range, x.first.line, x.second.line)
               < std::tie(y.first.range, y.second.range, y.first.line, y.second.line);
    });
    return true;
}
