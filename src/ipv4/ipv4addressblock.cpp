// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv4/ipv4addressblock.h"

#include "address/datastreamutil.h"

#include <QDataStream>

IPv4Address IPv4AddressBlock::GetMask() const
{
    return IPv4Address::CreateMask(m_maskBits);
}

void IPv4AddressBlock::GetRange(const IPv4Address& address, IPv4Address& first, IPv4Address& last) const
{
    const quint32 value = address.GetValue();
    const quint32 mask = GetMask().GetValue();
    first = value & mask;
    last = value | ~mask;
}

std::vector<IPv4AddressBlock> IPv4AddressBlock::GetBlocks()
{
    std::vector<IPv4AddressBlock> blocks;
    for (quint32 maskBits = 1; maskBits <= 32; ++maskBits)
        blocks.emplace_back(static_cast<quint8>(maskBits));
    return blocks;
}

void IPv4AddressBlock::RegisterMetaType()
{
    static const int id = qRegisterMetaType<IPv4AddressBlock>();
    Q_UNUSED(id);
}

QDataStream& operator<<(QDataStream& stream, const IPv4AddressBlock& block)
{
    return stream << static_cast<qint32>(block.m_maskBits);
}

QDataStream& operator>>(QDataStream& stream, IPv4AddressBlock& block)
{
    block = IPv4AddressBlock();
    quint8 maskBits = 0;
    if (!DataStreamUtil::ReadCount(stream, maskBits))
        return stream;
    if (maskBits > 32) {
        DataStreamUtil::Corrupt(stream);
        return stream;
    }
    block.m_maskBits = maskBits;
    return stream;
}
