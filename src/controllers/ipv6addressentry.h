// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/addressentry.h"

// An edit of the shared IPv6 address: "address/n" makes n the length of the
// prefix split into subnets; text that can be a host name is looked up.
class IPv6AddressEntry : public AddressEntry
{
public:
    // The edit of controller's page; the controller forwards the edit's signals.
    IPv6AddressEntry(TabController* controller, QLineEdit* edit);
};
