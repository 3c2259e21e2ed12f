// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv4/maskfield.h"

#include <stdexcept>

void MaskField::GetBitCounts(quint8& maskBits, quint8& fieldBits, quint8& hostBits) const
{
    maskBits = static_cast<quint8>(m_prefixBits + m_fieldBits);
    fieldBits = static_cast<quint8>(m_fieldBits);
    hostBits = static_cast<quint8>(m_hostBits);
}

void MaskField::GetPartRange(const IPv4Address& address, quint32 nPartIndex, const char* indexName, IPv4Address& first,
                             IPv4Address& last) const
{
    if (nPartIndex > LowBits(m_fieldBits))
        throw std::out_of_range(indexName);
    const quint32 start = (address.GetValue() & PrefixMask()) | ShiftLeft(nPartIndex, m_hostBits);
    first = start;
    last = start | HostMask();
}
