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

void LinkComboBoxes(std::span<QComboBox* const> comboBoxes)
{
    for (QComboBox* from : comboBoxes)
        for (QComboBox* to : comboBoxes)
            if (from != to)
                QObject::connect(from, &QComboBox::currentIndexChanged, to, &QComboBox::setCurrentIndex);
}

} // namespace IPv4Page
