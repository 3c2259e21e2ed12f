// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDataStream>

// Strict readers for the fields of the value types' stream layouts. Each leaves the
// stream status other than Ok when the bytes are short or hold something no writer
// produces, so callers can fall back to the default value.
namespace DataStreamUtil {

// A QDataStream bool that must be the byte 0 or 1.
inline bool ReadFlag(QDataStream& stream, bool& flag)
{
    qint8 byte = 0;
    stream >> byte;
    if (stream.status() != QDataStream::Ok)
        return false;
    if (byte != 0 && byte != 1) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    flag = byte != 0;
    return true;
}

// An 8-bit count written as qint32; it must hold 0 to 255.
inline bool ReadCount(QDataStream& stream, quint8& count)
{
    qint32 value = 0;
    stream >> value;
    if (stream.status() != QDataStream::Ok)
        return false;
    if (value < 0 || value > 255) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    count = static_cast<quint8>(value);
    return true;
}

// Marks the stream corrupt and reports failure, for a value that decodes but is impossible.
inline bool Corrupt(QDataStream& stream)
{
    stream.setStatus(QDataStream::ReadCorruptData);
    return false;
}

} // namespace DataStreamUtil
