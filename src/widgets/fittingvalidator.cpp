// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/fittingvalidator.h"

#include <QLineEdit>

namespace {
// QLineEdit's default and largest maxLength. An insertion that reaches it may
// have been cut, so such a text is never taken.
constexpr int lineEditCap = 32767;
} // namespace

FittingValidator::FittingValidator(int nMaxLength, const QValidator* innerValidator, QObject* parent)
    : QValidator(parent),
      m_maxLength(nMaxLength),
      m_inner(innerValidator)
{
}

FittingValidator* FittingValidator::Install(QLineEdit* edit, int nMaxLength)
{
    auto* validator = new FittingValidator(nMaxLength > 0 ? nMaxLength : edit->maxLength(), edit->validator(), edit);
    edit->setMaxLength(lineEditCap);
    edit->setValidator(validator);
    return validator;
}

void FittingValidator::Trim(QString& input, int& pos)
{
    qsizetype leading = 0;
    while (leading < input.size() && input.at(leading).isSpace())
        ++leading;
    input = input.trimmed();
    pos = static_cast<int>(qBound(static_cast<qsizetype>(0), pos - leading, input.size()));
}

QValidator::State FittingValidator::validate(QString& input, int& pos) const
{
    if (input.size() >= lineEditCap)
        return Invalid;
    if (input.size() > m_maxLength)
        Trim(input, pos);
    if (input.size() > m_maxLength)
        return Invalid;
    return m_inner != nullptr ? m_inner->validate(input, pos) : Acceptable;
}
