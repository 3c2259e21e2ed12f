// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QValidator>

class QLineEdit;

// Keeps an edit's length limit. QLineEdit cuts an insertion at its maxLength
// before any validator sees it, so a pasted " 3232235521" became 323223552;
// here the text is trimmed first and, if it still does not fit, refused whole.
// Text that fits goes on to the edit's own validator, if it has one.
class FittingValidator : public QValidator
{
public:
    // Texts no address edit needs to hold more of: a host name has at most 253
    // characters and a final dot.
    static constexpr int addressTextLimit = 255;

    // Puts a FittingValidator on edit in place of its validator (kept as the
    // inner check), with the edit's maxLength, or nMaxLength when given, as the
    // limit; the edit's own limit is lifted to the toolkit's largest.
    static FittingValidator* Install(QLineEdit* edit, int nMaxLength = 0);

    // Removes leading and trailing white space, moving pos with the text.
    static void Trim(QString& input, int& pos);

    // Invalid when the text may have been cut or is too long once trimmed;
    // otherwise the inner validator's answer, or Acceptable without one.
    State validate(QString& input, int& pos) const override;

private:
    FittingValidator(int nMaxLength, const QValidator* innerValidator, QObject* parent);

    int m_maxLength;
    QPointer<const QValidator> m_inner;
};
