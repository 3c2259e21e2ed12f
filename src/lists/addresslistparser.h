// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/addressrange.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

// One address, prefix or range read from a list, with the line it is on (from 1).
struct ListItem
{
    AddressRange range;
    quint32 line = 0;

    friend bool operator==(const ListItem&, const ListItem&) = default;
};

// A word of a list that is not an item, or an item read other than as written
// (a prefix with host bits set). text is the word, cut to a readable length.
struct ListProblem
{
    quint32 line = 0;
    std::string text;
    std::string reason;

    // "line 7: 10.0.0.256: not an address".
    [[nodiscard]] std::string ToString() const;
};

struct ParsedList
{
    std::vector<ListItem> items;
    std::vector<ListProblem> problems;
};

// Reads address lists as engineers paste them. Items are separated by line
// breaks, commas, semicolons or blanks; text after '#' on a line is a comment.
// An item is an IPv4 (dotted decimal) or IPv6 address; a prefix "a/n"; an
// IPv4 "a.b.c.d m.m.m.m" with a netmask or a wildcard; a range "a - b" or
// "a-b" of one family with first <= last; or an abbreviated IPv4 prefix
// "10/8", "172.16/12", "192.168.1/24" (the missing octets are zero).
class AddressListParser
{
public:
    // The items of text in the order written and every problem, at most one
    // per line (the first; the rest of a line is counted in its reason). Stops
    // early, with what it has, once cancel is set.
    [[nodiscard]] static ParsedList Parse(std::string_view text, const std::atomic<bool>* cancel = nullptr);
};
