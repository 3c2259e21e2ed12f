// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtCore>

// Reads hex bytes over a valid value: "ok" when they read and write back the same,
// "refused" when the stream fails and the value falls back to the invalid default.
template <typename T>
QString Read(const char* hex, T value)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QDataStream in(bytes);
    in >> value;
    if (in.status() != QDataStream::Ok)
        return value == T() && !value.IsValid() ? "refused" : "kept";
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out << value;
    return written == bytes ? "ok" : "changed";
}
