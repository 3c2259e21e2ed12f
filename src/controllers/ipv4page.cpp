#include "controllers/ipv4page.h"

#include "address/ipv4address.h"
#include "controllers/largetableview.h"

#include <QItemSelectionModel>

namespace IPv4Page {
QString DottedDecimal(const IPv4Address& address)
{
    return QString::fromStdString(address.ToString(IPv4Address::DottedDecimal));
}

QString WildcardText(const IPv4Address& mask)
{
    return mask.IsValid() ? DottedDecimal(IPv4Address(~mask.GetValue())) : QString();
}

void LinkComboBoxes(std::span<QComboBox* const> comboBoxes)
{
    for (QComboBox* from : comboBoxes)
        for (QComboBox* to : comboBoxes)
            if (from != to)
                QObject::connect(from, &QComboBox::currentIndexChanged, to, &QComboBox::setCurrentIndex);
}

} // namespace IPv4Page
