// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/bitusage.h"

#include "address/ipv4address.h"

#include <iterator>
#include <stdexcept>

namespace {

struct BitRoleInfo
{
    char character;
    const char* name;
    const char* color;
};

const BitRoleInfo bitRoleTable[] = {
    {'x', "Open", "gray"}, {'f', "Fixed", "black"},   {'n', "Network", "navy"}, {'n', "Network", "navy"},
    {'c', "CIDR", "teal"}, {'s', "Subnet", "maroon"}, {'h', "Host", "green"},   {'g', "Group", "purple"},
};

const BitRoleInfo& LookupBitRole(qint32 nBitRole)
{
    if (nBitRole < 0 || nBitRole >= static_cast<qint32>(std::size(bitRoleTable)))
        throw std::out_of_range("nBitRole");
    return bitRoleTable[nBitRole];
}

// Fixed and class bits are the address's own digits rather than role characters.
bool ShowsAddressBits(qint32 nBitRole)
{
    return nBitRole == FixedBit || nBitRole == NetworkClassBit;
}

bool IsNetworkRole(qint32 nBitRole)
{
    LookupBitRole(nBitRole);
    return nBitRole == NetworkClassBit || nBitRole == NetworkBit;
}

std::string OpenSpan(const std::string& color)
{
    return std::string("<span style=\"color:") + color + "\">";
}

const char closeSpan[] = "</span>";

} // namespace

char GetBitRoleCharacter(qint32 nBitRole)
{
    return LookupBitRole(nBitRole).character;
}

std::string GetBitRoleName(qint32 nBitRole)
{
    return LookupBitRole(nBitRole).name;
}

std::string GetBitRoleColor(qint32 nBitRole)
{
    return LookupBitRole(nBitRole).color;
}

const BitRoleColors& GetBitRoleColors()
{
    static const BitRoleColors colors = [] {
        BitRoleColors table;
        for (std::size_t role = 0; role < table.size(); ++role)
            table[role] = bitRoleTable[role].color;
        return table;
    }();
    return colors;
}

quint32 GetNetworkBitCount(const BitUsage& bitUsage)
{
    quint32 count = 0;
    for (const BitUsageEntry& entry : bitUsage) {
        if (IsNetworkRole(entry.first))
            count += entry.second;
    }
    return count;
}

quint32 GetHostBitCount(const BitUsage& bitUsage)
{
    quint32 count = 0;
    for (const BitUsageEntry& entry : bitUsage) {
        LookupBitRole(entry.first);
        if (entry.first == HostBit)
            count += entry.second;
    }
    return count;
}

BitUsage GetNetworkPart(const BitUsage& bitUsage)
{
    BitUsage part;
    for (const BitUsageEntry& entry : bitUsage) {
        if (IsNetworkRole(entry.first))
            part.push_back(entry);
    }
    return part;
}

std::string FormatBitUsageHtml(const BitUsage& bitUsage, const IPv4Address& address, const BitRoleColors& colors)
{
    // Only lists with fixed or class bits need the address's digits.
    std::string bits;
    for (const BitUsageEntry& entry : bitUsage) {
        if (ShowsAddressBits(entry.first)) {
            address.GetValue(); // an invalid address has no digits to show
            bits = address.ToString(IPv4Address::Binary);
            break;
        }
    }
    const std::string dot = OpenSpan(colors[FixedBit]) + "." + closeSpan;
    std::string html;
    std::size_t i = 0;
    for (const BitUsageEntry& entry : bitUsage) {
        const BitRoleInfo& info = LookupBitRole(entry.first);
        const bool ownBits = ShowsAddressBits(entry.first);
        bool open = false;
        for (quint32 n = 0; n < entry.second; ++n) {
            if (!open) {
                html += OpenSpan(colors[static_cast<std::size_t>(entry.first)]);
                open = true;
            }
            html += ownBits ? bits.at(i) : info.character;
            ++i;
            if (i % 8 == 0) {
                html += closeSpan;
                open = false;
                if (i != 32)
                    html += dot;
            }
        }
        if (open)
            html += closeSpan;
    }
    return html;
}

std::string FormatBitRoleLegendHtml(const BitUsage& bitUsage, const BitRoleColors& colors)
{
    std::string html;
    for (const BitUsageEntry& entry : bitUsage) {
        const BitRoleInfo& info = LookupBitRole(entry.first);
        if (ShowsAddressBits(entry.first))
            continue;
        if (!html.empty())
            html += "; ";
        html += OpenSpan(colors[static_cast<std::size_t>(entry.first)]) + info.character + "=" + info.name + closeSpan;
    }
    return html;
}
