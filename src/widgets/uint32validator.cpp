#include "widgets/uint32validator.h"

#include "address/ipv4address.h"
#include "widgets/fittingvalidator.h"

UInt32Validator::UInt32Validator(quint32 nRadix, QObject* parent)
    : QValidator(parent),
      radix(nRadix)
{
}

QValidator::State UInt32Validator::validate(QString& input, int& pos) const
{
    FittingValidator::Trim(input, pos);
    bool ok = false;
    input.toUInt(&ok, static_cast<int>(radix));
    // The parse must take it too: toUInt reads a "+" that binary notation has not.
    ok = ok && IPv4Address(input.toStdString(), IPv4Address::Notation{radix, false}).IsValid();
    return ok ? Acceptable : Invalid;
}
