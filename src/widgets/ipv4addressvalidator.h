// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QValidator>

// Accepts dots and the digits of one radix in any number and order; the
// address parse decides whether the parts make an address.
class IPv4AddressValidator : public QValidator
{
public:
    IPv4AddressValidator(quint32 nRadix, QObject* parent);

    // Trims the input, then Acceptable when every character is "." or a digit of
    // the radix, else Invalid.
    State validate(QString& input, int& pos) const override;

private:
    quint32 m_radix;
};
