// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/ipv4tabcontroller.h"
#include "controllers/policycombogroup.h"
#include "models/subnetstablemodel.h"

#include <QString>

#include <vector>

class IPv4AddressClass;
class IPv4SubnetPolicy;

// The Subnets page: five linked combo boxes choose the subnet policy of the
// address's class, shown as a bit usage and as the list of its subnets.
class SubnetsTabController : public IPv4TabController
{
    Q_OBJECT

public:
    // Takes the five policy combo boxes from the window's form.
    explicit SubnetsTabController(const ControllerContext& context);

    // The subnetsTab page.
    QWidget* GetTabPage() override;

protected:
    // subnetsAddressEdit and subnetsAddressToolButton.
    void GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton) override;
    // Whether the stored address is valid and of Class A, B or C.
    bool IsViewEnabled() override;
    // The base list followed by the five policy combo boxes.
    QList<QObject*> GetBlockedWidgets() override;
    // Captures the bit-usage caption, links the combo boxes and sets up the table.
    void InitializeView() override;
    // Refills the policies, stores the chosen one and shows its bit usage and subnets.
    void DoUpdateView(QWidget* source) override;
    // The IPv4 address, the two subnetting options and the subnet policy.
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;

private slots:
    void on_maskComboBox_currentIndexChanged(int index);

private:
    // The policies of the class under the two subnetting options.
    std::vector<IPv4SubnetPolicy> GetPolicies(const IPv4AddressClass& addressClass);
    void ShowSubnets(const IPv4Address& address, bool show);

    // In their fixed order: mask, subnet bits, max subnets, host bits, max hosts.
    PolicyComboGroup m_policyCombos;
    QString m_bitUsageCaption;
    SubnetsTableModel m_subnetModel;
};
