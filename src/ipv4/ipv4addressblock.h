// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"

#include <QMetaType>

#include <vector>

class QDataStream;

// An address block given by its prefix length; with an address it fixes the block
// holding that address. Prefix length 0 (the default) is invalid.
class IPv4AddressBlock
{
public:
    // The invalid block (prefix length 0).
    IPv4AddressBlock() = default;
    // A block of prefix length nMaskBits (not checked here).
    explicit IPv4AddressBlock(quint8 nMaskBits)
        : m_maskBits(nMaskBits)
    {
    }

    // Whether the prefix length is above 0.
    bool IsValid() const { return m_maskBits > 0; }
    // The prefix length.
    quint8 GetMaskBits() const { return m_maskBits; }
    // The prefix mask; above 32 bits throws std::out_of_range("nMaskBits").
    IPv4Address GetMask() const;
    // First and last address of the block holding the address; an invalid address
    // throws ExceptionUtil::invalid_operation("this").
    void GetRange(const IPv4Address& address, IPv4Address& first, IPv4Address& last) const;

    // The blocks /1 to /32 in ascending order.
    static std::vector<IPv4AddressBlock> GetBlocks();

    // Registers the meta-type "IPv4AddressBlock" with its stream operators (once per process).
    static void RegisterMetaType();

    friend bool operator==(const IPv4AddressBlock& a, const IPv4AddressBlock& b)
    {
        return a.m_maskBits == b.m_maskBits;
    }
    friend bool operator!=(const IPv4AddressBlock& a, const IPv4AddressBlock& b) { return !(a == b); }

    // Layout: the prefix length as qint32 (big-endian).
    friend QDataStream& operator<<(QDataStream& stream, const IPv4AddressBlock& block);
    // Reads the same layout; short input or a prefix above 32 gives the invalid block
    // and a stream status other than Ok.
    friend QDataStream& operator>>(QDataStream& stream, IPv4AddressBlock& block);

private:
    quint8 m_maskBits = 0;
};

Q_DECLARE_METATYPE(IPv4AddressBlock)
