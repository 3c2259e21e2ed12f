#include "controllers/ipv4page.h"

#include "models/addresstext.h"

namespace IPv4Page {
QString DottedDecimal(const IPv4Address& address)
{
    return AddressText::DottedDecimal(address);
}

QString WildcardText(const IPv4Address& mask)
{
    return AddressText::WildcardText(mask);
}

} // namespace IPv4Page
