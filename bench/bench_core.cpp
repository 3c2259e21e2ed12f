// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Nanoseconds per operation of the core calls that every keystroke and every
// visible table cell makes. Prints one table row per measurement:
// name, ns per operation, repetitions.

#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"
#include "ipv6/ipv6addresstypes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Keeps results alive so the optimiser cannot drop the measured work.
volatile std::size_t g_sink = 0;

void Keep(std::size_t value)
{
    g_sink = g_sink + value;
}

const IPv4Address::Notation kNotations[] = {
    IPv4Address::DottedDecimal, IPv4Address::Decimal, IPv4Address::DottedHexadecimal, IPv4Address::Hexadecimal,
    IPv4Address::DottedOctal,   IPv4Address::Octal,   IPv4Address::DottedBinary,      IPv4Address::Binary,
};

// The best of five rounds of ns per call, each round long enough (about 50 ms) to
// hide the clock's resolution.
double NanosecondsPerCall(const std::function<void(std::size_t)>& call, std::size_t& repetitions)
{
    std::size_t count = 1;
    for (;;) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < count; ++i)
            call(i);
        if (Clock::now() - start > std::chrono::milliseconds(50))
            break;
        count *= 2;
    }
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < count; ++i)
            call(i);
        const double ns =
            std::chrono::duration<double, std::nano>(Clock::now() - start).count() / static_cast<double>(count);
        best = round == 0 ? ns : std::min(best, ns);
    }
    repetitions = count;
    return best;
}

void Report(const char* name, const std::function<void(std::size_t)>& call)
{
    std::size_t repetitions = 0;
    const double ns = NanosecondsPerCall(call, repetitions);
    std::printf("| %-56s | %12.1f | %10zu |\n", name, ns, repetitions);
    std::fflush(stdout);
}

} // namespace

int main()
{
    std::printf("| %-56s | %12s | %10s |\n", "core operation", "ns per op", "reps/round");
    std::printf("|%s|%s|%s|\n", std::string(58, '-').c_str(), std::string(14, '-').c_str(),
                std::string(12, '-').c_str());

    const IPv4Address address("172.16.0.1", IPv4Address::DottedDecimal);
    std::vector<std::string> texts;
    for (const IPv4Address::Notation& notation : kNotations)
        texts.push_back(address.ToString(notation));

    for (std::size_t n = 0; n < texts.size(); ++n) {
        const IPv4Address::Notation notation = kNotations[n];
        const std::string& text = texts[n];
        const std::string name = "IPv4 parse + format, " + text;
        Report(name.c_str(), [&](std::size_t) {
            const IPv4Address parsed(text, notation);
            Keep(parsed.ToString(notation).size());
        });
    }
    Report("IPv4 parse + format, all eight notations", [&](std::size_t) {
        for (std::size_t n = 0; n < texts.size(); ++n) {
            const IPv4Address parsed(texts[n], kNotations[n]);
            Keep(parsed.ToString(kNotations[n]).size());
        }
    });

    const std::string ipv6Text = "2001:db8:0:0:1:0:0:1";
    Report("IPv6 parse + compressed format, 2001:db8:0:0:1:0:0:1", [&](std::size_t) {
        const IPv6Address parsed(ipv6Text);
        Keep(parsed.ToString(IPv6Address::CompressedNotation).size());
    });
    const IPv6Address ipv6(ipv6Text);
    Report("IPv6 compressed format alone",
           [&](std::size_t) { Keep(ipv6.ToString(IPv6Address::CompressedNotation).size()); });
    const IPv6Address multicast("ff02::1");
    Report("FindIPv6AddressType, 2001:DB8:0:0:1::1",
           [&](std::size_t) { Keep(static_cast<std::size_t>(FindIPv6AddressType(ipv6)->GetTypeID())); });
    Report("FindIPv6AddressType, ff02::1",
           [&](std::size_t) { Keep(static_cast<std::size_t>(FindIPv6AddressType(multicast)->GetTypeID())); });

    // A table cell asks for its row's values through the policy, as the table models do.
    const IPv4Address classA("10.1.2.3", IPv4Address::DottedDecimal);
    const IPv4SubnetPolicy subnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassA), 23, true, true);
    const quint32 subnetMask = (1u << 23) - 1;
    Report("subnet cell: ID + host range + broadcast, A /31", [&](std::size_t i) {
        IPv4Address subnetId, broadcast, firstHost, lastHost;
        const quint32 index = static_cast<quint32>(i * 2654435761u) & subnetMask;
        subnetPolicy.GetSubnet(classA, index, subnetId, broadcast);
        subnetPolicy.GetHostRange(classA, index, firstHost, lastHost);
        Keep(subnetId.GetValue() + broadcast.GetValue() + firstHost.GetValue() + lastHost.GetValue());
    });
    Report("subnet cell with its texts (dotted decimal)", [&](std::size_t i) {
        IPv4Address subnetId, broadcast, firstHost, lastHost;
        const quint32 index = static_cast<quint32>(i * 2654435761u) & subnetMask;
        subnetPolicy.GetSubnet(classA, index, subnetId, broadcast);
        subnetPolicy.GetHostRange(classA, index, firstHost, lastHost);
        Keep(subnetId.ToString(IPv4Address::DottedDecimal).size()
             + firstHost.ToString(IPv4Address::DottedDecimal).size()
             + lastHost.ToString(IPv4Address::DottedDecimal).size()
             + broadcast.ToString(IPv4Address::DottedDecimal).size());
    });

    const IPv4CidrPolicy cidrPolicy(IPv4AddressBlock(1), 31);
    const quint32 routeMask = (1u << 31) - 1;
    Report("route cell: route range, /1 with /32 routes", [&](std::size_t i) {
        IPv4Address first, last;
        cidrPolicy.GetRoute(classA, static_cast<quint32>(i * 2654435761u) & routeMask, first, last);
        Keep(first.GetValue() + last.GetValue());
    });
    Report("route cell with its texts (dotted decimal)", [&](std::size_t i) {
        IPv4Address first, last;
        cidrPolicy.GetRoute(classA, static_cast<quint32>(i * 2654435761u) & routeMask, first, last);
        Keep(first.ToString(IPv4Address::DottedDecimal).size() + last.ToString(IPv4Address::DottedDecimal).size());
    });
    return 0;
}
