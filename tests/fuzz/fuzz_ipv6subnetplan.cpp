// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Any address, prefix length and subnet length: the plan's range, subnet index, row window and
// subnets agree with a second computation done bit by bit on the address's bytes.

#include "address/ipv6address.h"
#include "fuzz/fuzzutil.h"
#include "ipv6/ipv6subnetplan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {
// The address with bits from `from` on (counted from the most significant) cleared or set.
IPv6Address Filled(IPv6Address address, int from, bool set)
{
    for (int bit = from; bit < 128; ++bit) {
        quint8& byte = address.GetByte(static_cast<quint32>(bit / 8));
        const quint8 mask = static_cast<quint8>(0x80 >> bit % 8);
        byte = set ? byte | mask : byte & ~mask;
    }
    return address;
}

// Bits [from, to) of the address as a number.
UInt128 Bits(const IPv6Address& address, int from, int to)
{
    UInt128 value = 0;
    for (int bit = from; bit < to; ++bit)
        value = value << 1 | (address.GetByte(static_cast<quint32>(bit / 8)) >> (7 - bit % 8) & 1);
    return value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Q_IPV6ADDR bytes;
    if (size < 18)
        return 0;
    std::copy(data, data + 16, bytes.c);
    const IPv6Address address(bytes);
    const int prefixLength = data[16] % 129;
    const int subnetLength = prefixLength + data[17] % (129 - prefixLength);
    const IPv6SubnetPlan plan(address, prefixLength, subnetLength);

    const IPv6Address first = Filled(address, prefixLength, false);
    const int subnetBits = subnetLength - prefixLength;
    const UInt128 rows = subnetBits >= 31 ? IPv6SubnetPlan::MaxRows : UInt128(1) << subnetBits;
    const UInt128 index = Bits(address, prefixLength, subnetLength);
    FUZZ_CHECK(plan.GetFirst() == first && plan.GetLast() == Filled(address, prefixLength, true)
                   && UInt128(plan.GetRowCount()) == rows && plan.GetAddressSubnetIndex() == index,
               "prefix range, row count or the address's subnet index differs");
    // The window's first row; its last row's subnet must lie inside the prefix too.
    const UInt128 firstRow = plan.GetFirstRowIndex();
    FUZZ_CHECK(firstRow <= index && index - firstRow < rows, "row window misses the address");
    for (const UInt128 subnet : {index, firstRow + rows - 1}) {
        IPv6Address subnetFirst, subnetLast;
        plan.GetSubnet(subnet, subnetFirst, subnetLast);
        const UInt128 prefix = prefixLength == 0 ? 0 : Bits(first, 0, prefixLength) << subnetBits;
        FUZZ_CHECK(Bits(subnetFirst, 0, subnetLength) == (prefix | subnet)
                       && subnetFirst == Filled(subnetFirst, subnetLength, false)
                       && subnetLast == Filled(subnetFirst, subnetLength, true),
                   "subnet differs");
    }
    return 0;
}
