// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/uint32validator.h"

#include "address/ipv4address.h"
#include "widgets/fittingvalidator.h"

UInt32Validator::UInt32Validator(quint32 nRadix, QObject* parent)
    : QValidator(parent),
      m_radix(nRadix)
{
}

QValidator::State UInt32Validator::validate(QString& input, int& pos) const
{
    FittingValidator::Trim(input, pos);
    bool ok = false;
    input.toUInt(&ok, static_cast<int>(m_radix));
    // The parse must take it too: toUInt reads a "+" that binary notation has not.
    ok = ok && IPv4Address(input.toStdString(), IPv4Address::Notation{m_radix, false}).IsValid();
    return ok ? Acceptable : Invalid;
}
