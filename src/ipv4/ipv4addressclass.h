// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/bitusage.h"
#include "address/ipv4address.h"

#include <QMetaType>

#include <string>
#include <vector>

class QDataStream;

// One of the historical IPv4 address classes or special ranges, named by its ID;
// everything else comes from a fixed table. ID 0 is the invalid class.
class IPv4AddressClass
{
public:
    enum ClassID : qint32
    {
        InvalidClass = 0,
        ThisHostClass = 1,
        ThisNetworkClass = 2,
        ClassA = 3,
        LoopbackClass = 4,
        ClassB = 5,
        ClassC = 6,
        ClassD = 7,
        ClassE = 8,
        BroadcastClass = 9
    };

    // The invalid class (ID 0).
    IPv4AddressClass() = default;
    // The class with nClassID; outside 0..9 throws std::out_of_range("nClassID").
    explicit IPv4AddressClass(qint32 nClassID);

    // The class ID (0..9).
    qint32 GetClassID() const { return m_classID; }
    // Whether the ID lies in 1..9.
    bool IsValid() const;

    // Whether the class's network can be divided into subnets (Class A, B, C only).
    bool IsSubnettable() const;
    // First address of the class's range (255.255.255.255 for the invalid class).
    IPv4Address GetFirstAddress() const;
    // Last address of the class's range (0.0.0.0 for the invalid class).
    IPv4Address GetLastAddress() const;
    // Display name, e.g. "Class A", "\"This\" Host".
    std::string GetName() const;
    // Roles of the 32 bits (empty for the invalid class).
    BitUsage GetBitUsage() const;

    // Whether a (valid) address lies in the class's range; never for an invalid one.
    bool Contains(const IPv4Address& address) const;
    // Moves the address into the class byte by byte; returns whether it lies in the
    // class afterwards. Throws ExceptionUtil::invalid_operation("this") for an invalid address.
    bool ClampAddress(IPv4Address& address) const;

    // The nine valid classes in ID order.
    static std::vector<IPv4AddressClass> GetClasses();
    // The class holding the address; the invalid class for an invalid address.
    static IPv4AddressClass FromAddress(const IPv4Address& address);

    // Registers the meta-type "IPv4AddressClass" with its stream operators (once per process).
    static void RegisterMetaType();

    friend bool operator==(const IPv4AddressClass& a, const IPv4AddressClass& b) { return a.m_classID == b.m_classID; }
    friend bool operator!=(const IPv4AddressClass& a, const IPv4AddressClass& b) { return !(a == b); }

    // Layout: the class ID as qint32 (big-endian).
    friend QDataStream& operator<<(QDataStream& stream, const IPv4AddressClass& addressClass);
    // Reads the same layout; an ID outside 0..9 or short input gives the invalid class
    // and a stream status other than Ok.
    friend QDataStream& operator>>(QDataStream& stream, IPv4AddressClass& addressClass);

private:
    qint32 m_classID = InvalidClass;
};

Q_DECLARE_METATYPE(IPv4AddressClass)
