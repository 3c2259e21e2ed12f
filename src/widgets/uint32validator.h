// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QValidator>

// Accepts exactly the texts that read as one unsigned 32-bit number in a radix,
// both for QString::toUInt and for the address parse of that whole-number notation.
class UInt32Validator : public QValidator
{
public:
    UInt32Validator(quint32 nRadix, QObject* parent);

    // Trims the input, then Acceptable when both readings take it, else Invalid.
    State validate(QString& input, int& pos) const override;

private:
    quint32 m_radix;
};
