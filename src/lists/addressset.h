// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/addressrange.h"

#include <atomic>
#include <vector>

// First and last address of a run, without its family: the compact form the
// set operations sort and walk.
struct AddressSpan
{
    UInt128 first = 0;
    UInt128 last = 0;
};

// Addresses of one family as sorted, disjoint and non-adjacent spans.
class AddressSet
{
public:
    explicit AddressSet(AddressFamily family = AddressFamily::IPv4)
        : m_family(family)
    {
    }

    // The union of spans given in any order (each first <= last); empty when
    // cancel is set before it is done.
    [[nodiscard]] static AddressSet FromSpans(AddressFamily family, std::vector<AddressSpan> spans,
                                              const std::atomic<bool>* cancel = nullptr);

    // The union of IPv4 spans packed as first << 32 | last, which sort faster
    // than spans; empty when cancel is set before it is done.
    [[nodiscard]] static AddressSet FromIPv4Keys(std::vector<quint64> keys, const std::atomic<bool>* cancel = nullptr);
    // Sorts packed IPv4 spans by first, in linear time.
    static void SortIPv4Keys(std::vector<quint64>& keys);
    // The union of the packed IPv4 spans of a and b, each sorted by first.
    [[nodiscard]] static AddressSet FromSortedIPv4Keys(const std::vector<quint64>& a, const std::vector<quint64>& b);

    [[nodiscard]] AddressSet Union(const AddressSet& other) const;
    [[nodiscard]] AddressSet Minus(const AddressSet& other) const;
    [[nodiscard]] AddressSet Intersection(const AddressSet& other) const;

    // The fewest prefixes covering exactly the set, in address order; the set is left empty.
    [[nodiscard]] std::vector<AddressSpan> TakePrefixes();
    // Appends the fewest prefixes covering first..last to prefixes.
    static void AppendPrefixes(UInt128 first, UInt128 last, std::vector<AddressSpan>& prefixes);
    // Appends span to spans sorted by first, merging it with the last one when they touch.
    static void AppendMerged(std::vector<AddressSpan>& spans, const AddressSpan& span);

    [[nodiscard]] AddressFamily GetFamily() const { return m_family; }
    [[nodiscard]] const std::vector<AddressSpan>& GetSpans() const { return m_spans; }
    // The exact number of addresses in the set.
    [[nodiscard]] AddressCount Count() const;

private:
    AddressFamily m_family;
    std::vector<AddressSpan> m_spans;
};
