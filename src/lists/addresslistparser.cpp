// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/addresslistparser.h"

#include "lists/listscanner.h"

std::string ListProblem::ToString() const
{
    return "line " + std::to_string(line) + ": " + text + ": " + reason;
}

ParsedList AddressListParser::Parse(std::string_view text, const std::atomic<bool>* cancel)
{
    ParsedList parsed;
    ListItemSink sink;
    const auto proceed = [cancel](size_t) { return cancel == nullptr || !cancel->load(); };
    static_cast<void>(ListScanner::Scan(text, sink, parsed.problems, proceed));
    parsed.items = std::move(sink.Items());
    return parsed;
}
