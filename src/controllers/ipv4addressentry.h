// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/addressentry.h"

// An edit of the shared IPv4 address, in dotted decimal: "a.b.c.d/n" and
// "a.b.c.d mask" hand n to the page; text that can be a host name is looked
// up.
class IPv4AddressEntry : public AddressEntry
{
public:
    // The edit of controller's page; the controller forwards the edit's signals.
    IPv4AddressEntry(TabController* controller, QLineEdit* edit, PrefixLengthSink applyPrefixLength);
};
