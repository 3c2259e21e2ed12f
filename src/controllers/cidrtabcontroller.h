// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/ipv4tabcontroller.h"
#include "controllers/policycombogroup.h"
#include "models/cidrtablemodel.h"

#include <QString>

class IPv4AddressBlock;
class QComboBox;

// The CIDR page: the block of a chosen prefix that holds the address, its
// division into routes by a chosen CIDR mask, and the list of those routes.
class CidrTabController : public IPv4TabController
{
    Q_OBJECT

public:
    // Takes the three policy combo boxes from the form.
    explicit CidrTabController(const ControllerContext& context);

    // The cidrTab page.
    QWidget* GetTabPage() override;

protected:
    // cidrAddressEdit and cidrAddressToolButton.
    void GetAddressWidgets(QLineEdit** addressEdit, QToolButton** addressButton) override;
    // The base list, then the block combo and the three policy combos.
    QList<QObject*> GetBlockedWidgets() override;
    // Fills the block combo, links the policy combos and sets up the route table.
    void InitializeView() override;
    // Shows the block range, the block's policies, the bit usage and the routes.
    void DoUpdateView(QWidget* source) override;
    // True for the IPv4 address, the CIDR address block and the CIDR policy.
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;

private slots:
    void on_addressBlockMaskComboBox_currentIndexChanged(int index);
    void on_cidrMaskComboBox_currentIndexChanged(int index);

private:
    // Refills the policy combos from block's policies and stores the one chosen;
    // returns false when the block has none.
    bool RebuildPolicyComboBoxes(const IPv4AddressBlock& block);
    void ForgetTypedPrefix();

    // cidrBitsComboBox, cidrMaxNetworksComboBox, cidrMaskComboBox.
    PolicyComboGroup m_policyCombos;
    QString m_bitUsageCaption;
    CidrTableModel m_routeModel;
};
