// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv4/ipv4addressclass.h"

#include "address/datastreamutil.h"

#include <QDataStream>

#include <iterator>
#include <stdexcept>

namespace {

struct ClassTableRow
{
    bool subnettable;
    quint32 first;
    quint32 last;
    const char* name;
    BitUsage (*bitUsage)();
};

BitUsage NoBits()
{
    return {};
}
BitUsage AllFixedBits()
{
    return {{FixedBit, 32}};
}
BitUsage FixedOctetOpenRest()
{
    return {{FixedBit, 8}, {OpenBit, 24}};
}
BitUsage ClassABits()
{
    return {{NetworkClassBit, 1}, {NetworkBit, 7}, {HostBit, 24}};
}
BitUsage ClassBBits()
{
    return {{NetworkClassBit, 2}, {NetworkBit, 14}, {HostBit, 16}};
}
BitUsage ClassCBits()
{
    return {{NetworkClassBit, 3}, {NetworkBit, 21}, {HostBit, 8}};
}
BitUsage MulticastBits()
{
    return {{FixedBit, 4}, {GroupBit, 28}};
}
BitUsage ExperimentalBits()
{
    return {{FixedBit, 4}, {OpenBit, 28}};
}

const ClassTableRow classTable[] = {
    {false, 0xffffffff, 0x00000000, "Invalid", NoBits},
    {false, 0x00000000, 0x00000000, "\"This\" Host", AllFixedBits},
    {false, 0x00000001, 0x00ffffff, "\"This\" Network", FixedOctetOpenRest},
    {true, 0x01000000, 0x7effffff, "Class A", ClassABits},
    {false, 0x7f000000, 0x7fffffff, "Loopback", FixedOctetOpenRest},
    {true, 0x80000000, 0xbfffffff, "Class B", ClassBBits},
    {true, 0xc0000000, 0xdfffffff, "Class C", ClassCBits},
    {false, 0xe0000000, 0xefffffff, "Class D/Multicast", MulticastBits},
    {false, 0xf0000000, 0xfffffffe, "Class E/Experimental", ExperimentalBits},
    {false, 0xffffffff, 0xffffffff, "Broadcast", AllFixedBits},
};

const qint32 classCount = static_cast<qint32>(std::size(classTable));

// The parts of a class record a lookup may fill.
enum ClassRequest : unsigned
{
    SubnettableRequest = 1,
    FirstAddressRequest = 2,
    LastAddressRequest = 4,
    NameRequest = 8,
    BitUsageRequest = 16
};

struct ClassRecord
{
    bool subnettable = false;
    IPv4Address first;
    IPv4Address last;
    std::string name;
    BitUsage bitUsage;
};

ClassRecord LookupClass(qint32 nClassID, unsigned requests)
{
    if (nClassID < 0 || nClassID >= classCount)
        throw std::out_of_range("nClassID");
    const ClassTableRow& row = classTable[nClassID];
    ClassRecord record;
    if (requests & SubnettableRequest)
        record.subnettable = row.subnettable;
    if (requests & FirstAddressRequest)
        record.first = row.first;
    if (requests & LastAddressRequest)
        record.last = row.last;
    if (requests & NameRequest)
        record.name = row.name;
    if (requests & BitUsageRequest)
        record.bitUsage = row.bitUsage();
    return record;
}

} // namespace

IPv4AddressClass::IPv4AddressClass(qint32 nClassID)
    : m_classID(nClassID)
{
    if (nClassID < 0 || nClassID >= classCount)
        throw std::out_of_range("nClassID");
}

bool IPv4AddressClass::IsValid() const
{
    return m_classID >= ThisHostClass && m_classID <= BroadcastClass;
}

bool IPv4AddressClass::IsSubnettable() const
{
    return LookupClass(m_classID, SubnettableRequest).subnettable;
}

IPv4Address IPv4AddressClass::GetFirstAddress() const
{
    return LookupClass(m_classID, FirstAddressRequest).first;
}

IPv4Address IPv4AddressClass::GetLastAddress() const
{
    return LookupClass(m_classID, LastAddressRequest).last;
}

std::string IPv4AddressClass::GetName() const
{
    return LookupClass(m_classID, NameRequest).name;
}

BitUsage IPv4AddressClass::GetBitUsage() const
{
    return LookupClass(m_classID, BitUsageRequest).bitUsage;
}

bool IPv4AddressClass::Contains(const IPv4Address& address) const
{
    const ClassRecord record = LookupClass(m_classID, FirstAddressRequest | LastAddressRequest);
    return record.first <= address && address <= record.last;
}

bool IPv4AddressClass::ClampAddress(IPv4Address& address) const
{
    const ClassRecord record = LookupClass(m_classID, FirstAddressRequest | LastAddressRequest);
    const auto inClass = [&] { return record.first <= address && address <= record.last; };
    if (inClass())
        return true;
    for (quint32 i = 0; i < 4; ++i) {
        quint8& byte = address.GetByte(i);
        if (byte < record.first.GetByte(i))
            byte = record.first.GetByte(i);
        if (byte > record.last.GetByte(i))
            byte = record.last.GetByte(i);
        if (inClass())
            return true;
    }
    return inClass();
}

std::vector<IPv4AddressClass> IPv4AddressClass::GetClasses()
{
    std::vector<IPv4AddressClass> classes;
    for (qint32 id = ThisHostClass; id <= BroadcastClass; ++id)
        classes.emplace_back(id);
    return classes;
}

IPv4AddressClass IPv4AddressClass::FromAddress(const IPv4Address& address)
{
    if (!address.IsValid())
        return IPv4AddressClass();
    for (const IPv4AddressClass& addressClass : GetClasses()) {
        if (addressClass.Contains(address))
            return addressClass;
    }
    return IPv4AddressClass();
}

void IPv4AddressClass::RegisterMetaType()
{
    static const int id = qRegisterMetaType<IPv4AddressClass>();
    Q_UNUSED(id);
}

QDataStream& operator<<(QDataStream& stream, const IPv4AddressClass& addressClass)
{
    return stream << static_cast<qint32>(addressClass.m_classID);
}

QDataStream& operator>>(QDataStream& stream, IPv4AddressClass& addressClass)
{
    addressClass = IPv4AddressClass();
    qint32 id = 0;
    stream >> id;
    if (stream.status() != QDataStream::Ok)
        return stream;
    if (id < 0 || id >= classCount) {
        DataStreamUtil::Corrupt(stream);
        return stream;
    }
    addressClass.m_classID = id;
    return stream;
}
