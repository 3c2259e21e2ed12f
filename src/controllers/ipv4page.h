// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/controller.h"
#include "settings/octetrysettings.h"

#include <QComboBox>
#include <QString>

#include <cstddef>
#include <vector>

class IPv4Address;
class IPv4CidrPolicy;
class IPv4SubnetPolicy;

// What the IPv4 pages write alike: the dotted-decimal text of an address, the
// values their combo box items hold, and for the Subnets and CIDR pages the
// choice of policy when the list changes.
namespace IPv4Page {
// The address in dotted decimal; empty for an invalid address.
QString DottedDecimal(const IPv4Address& address);
// The wildcard (inverse) mask of mask, as access lists take it; empty for an invalid mask.
QString WildcardText(const IPv4Address& mask);
// N + s, the length of the policy's subnet mask.
int SubnetMaskLength(const IPv4SubnetPolicy& policy);
// B + c, the length of the policy's CIDR mask, read from the members so that it never throws.
int CidrMaskLength(const IPv4CidrPolicy& policy);

// The index of the first policy whose mask is at least length bits long, the
// last when none is: the nearest where the lengths are consecutive.
template <typename Policy, typename MaskLength>
int ChooseMaskLength(const std::vector<Policy>& policies, int length, MaskLength maskLength)
{
    for (std::size_t position = 0; position < policies.size(); ++position)
        if (maskLength(policies[position]) >= length)
            return static_cast<int>(position);
    return static_cast<int>(policies.size()) - 1;
}

// The index of the policy to show when the list changes: the first whose mask
// is at least as long as the stored one's, so that a new list keeps the mask
// length where it can; the last when none is, 0 without a stored policy.
template <typename Policy, typename MaskLength>
int ChoosePolicy(const std::vector<Policy>& policies, const Policy& stored, MaskLength maskLength)
{
    return stored.IsValid() ? ChooseMaskLength(policies, maskLength(stored), maskLength) : 0;
}

// The value an item of the box holds.
template <typename T>
T ItemValue(const QComboBox* comboBox, int index)
{
    return comboBox->itemData(index).value<T>();
}

// Makes the first item holding value current; no item when none holds it.
template <typename T>
void SelectItem(QComboBox* comboBox, const T& value)
{
    int found = -1;
    for (int index = 0; index < comboBox->count() && found < 0; ++index)
        if (ItemValue<T>(comboBox, index) == value)
            found = index;
    comboBox->setCurrentIndex(found);
}

// Stores the value of the chosen item, naming the box as the change's source.
template <typename T>
void StoreItemValue(Controller* controller, QComboBox* comboBox, int index, void (OctetrySettings::*setter)(const T&))
{
    const T value = ItemValue<T>(comboBox, index);
    // Only a cleared selection yields an invalid value; there is nothing to store.
    if (!value.IsValid())
        return;
    const Controller::ChangeSource changeSource(controller, comboBox);
    (Controller::GetSettings()->*setter)(value);
}
} // namespace IPv4Page
