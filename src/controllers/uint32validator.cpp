#include "controllers/uint32validator.h"

UInt32Validator::UInt32Validator(quint32 nRadix, QObject* parent)
    : QValidator(parent), radix(nRadix)
{
}

QValidator::State UInt32Validator::validate(QString& input, int& pos) const
{
    input = input.trimmed();
    // Trimming may leave the cursor beyond the end of the text.
    pos = qMin(pos, static_cast<int>(input.size()));
    bool ok = false;
    input.toUInt(&ok, static_cast<int>(radix));
    return ok ? Acceptable : Invalid;
}
