// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <array>
#include <string>
#include <utility>
#include <vector>

class IPv4Address;

// The part a bit of an IPv4 address plays.
enum BitRole : qint32
{
    OpenBit = 0,
    FixedBit = 1,
    NetworkClassBit = 2,
    NetworkBit = 3,
    CidrBit = 4,
    SubnetBit = 5,
    HostBit = 6,
    GroupBit = 7
};

// One run of bits with the same role.
using BitUsageEntry = std::pair<BitRole, quint8>;
// Runs of bit roles from the most significant bit downwards; the counts of every
// list the program builds add up to 32.
using BitUsage = std::vector<BitUsageEntry>;
// A rich-text colour name for each of the eight roles, by role number.
using BitRoleColors = std::array<std::string, 8>;

// The role's display character; nBitRole outside 0..7 throws std::out_of_range("nBitRole").
char GetBitRoleCharacter(qint32 nBitRole);
// The role's name ("Open", "Fixed", "Network", ...); same range check.
std::string GetBitRoleName(qint32 nBitRole);
// The role's rich-text colour name ("gray", "black", ...); same range check.
std::string GetBitRoleColor(qint32 nBitRole);
// Every role's colour name from the table, by role number.
const BitRoleColors& GetBitRoleColors();

// Sum of the counts of the NetworkClassBit and NetworkBit entries.
quint32 GetNetworkBitCount(const BitUsage& bitUsage);
// Sum of the counts of the HostBit entries.
quint32 GetHostBitCount(const BitUsage& bitUsage);
// The NetworkClassBit and NetworkBit entries, in order.
BitUsage GetNetworkPart(const BitUsage& bitUsage);

// The 32 bits as coloured HTML spans grouped by octet; fixed and class bits show the
// address's own digits, so the address must be valid when the list holds them.
std::string FormatBitUsageHtml(const BitUsage& bitUsage, const IPv4Address& address,
                               const BitRoleColors& colors = GetBitRoleColors());
// One coloured "c=Name" item per entry other than fixed and class bits, joined by
// "; "; empty when there is none.
std::string FormatBitRoleLegendHtml(const BitUsage& bitUsage, const BitRoleColors& colors = GetBitRoleColors());
