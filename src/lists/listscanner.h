// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/addresslistparser.h"

#include <functional>

// Takes the items a scan reads.
class ListSink
{
public:
    virtual ~ListSink() = default;
    // One item, in the order written.
    virtual void Add(AddressFamily family, UInt128 first, UInt128 last, quint32 line) = 0;
};

// Keeps the items as they are written.
class ListItemSink : public ListSink
{
public:
    void Add(AddressFamily family, UInt128 first, UInt128 last, quint32 line) override
    {
        m_items.push_back({{family, first, last}, line});
    }
    [[nodiscard]] std::vector<ListItem>& Items() { return m_items; }

private:
    std::vector<ListItem> m_items;
};

// The reading behind AddressListParser, with the items going to a sink.
class ListScanner
{
public:
    // Reads text as AddressListParser::Parse does, items into sink and problems
    // into problems; calls proceed with the bytes read now and then and stops,
    // returning false, when it returns false.
    [[nodiscard]] static bool Scan(std::string_view text, ListSink& sink, std::vector<ListProblem>& problems,
                                   const std::function<bool(size_t)>& proceed);
};
