// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"

#include <QtGlobal>

// The bit arithmetic of a mask that divides a prefix into equal parts: the
// prefix bits, then the field bits that number the parts (subnet or CIDR bits),
// then the host bits that remain. Prefix plus field bits must not exceed 32.
class MaskField
{
public:
    MaskField(quint32 prefixBits, quint32 fieldBits)
        : m_prefixBits(prefixBits),
          m_fieldBits(fieldBits),
          m_hostBits(32 - prefixBits - fieldBits)
    {
    }

    quint32 GetPrefixBits() const { return m_prefixBits; }
    quint32 GetFieldBits() const { return m_fieldBits; }
    quint32 GetHostBits() const { return m_hostBits; }

    // The mask: prefix bits and field bits set.
    IPv4Address GetMask() const { return IPv4Address(PrefixMask() | FieldMask()); }
    // Mask length (prefix plus field bits), field bits and host bits.
    void GetBitCounts(quint8& maskBits, quint8& fieldBits, quint8& hostBits) const;
    // 2^field parts of 2^host addresses each; 2^32 wraps to 0.
    quint32 GetPartCount() const { return LowBits(m_fieldBits) + 1; }
    quint32 GetPartSize() const { return HostMask() + 1; }
    // The number of the part holding the address: its field bits.
    quint32 GetPartIndex(const IPv4Address& address) const
    {
        return static_cast<quint32>(static_cast<quint64>(address.GetValue() & FieldMask()) >> m_hostBits);
    }
    // First and last address of part nPartIndex of the prefix holding the
    // address; an index beyond the field throws std::out_of_range(indexName).
    void GetPartRange(const IPv4Address& address, quint32 nPartIndex, const char* indexName, IPv4Address& first,
                      IPv4Address& last) const;

private:
    // The n least significant bits set, n from 0 to 32.
    static quint32 LowBits(quint32 n) { return static_cast<quint32>((static_cast<quint64>(1) << n) - 1); }
    quint32 PrefixMask() const { return ~LowBits(32 - m_prefixBits); }
    // Shifted in 64 bits: a /0 without field bits shifts by 32.
    static quint32 ShiftLeft(quint32 value, quint32 n)
    {
        return static_cast<quint32>(static_cast<quint64>(value) << n);
    }
    quint32 FieldMask() const { return ShiftLeft(LowBits(m_fieldBits), m_hostBits); }
    quint32 HostMask() const { return LowBits(m_hostBits); }

    quint32 m_prefixBits;
    quint32 m_fieldBits;
    quint32 m_hostBits;
};
