// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controllers/ipv6addressentry.h"
#include "controllers/tabcontroller.h"
#include "models/ipv6subnettablemodel.h"

class QModelIndex;

// The IPv6 Subnets page: the prefix of a chosen length that holds the IPv6
// address, its range and size, its split into subnets of a chosen length, the
// list of those subnets with the address's own selected, and the reverse zone
// of the selected subnet.
class IPv6SubnetsTabController : public TabController
{
    Q_OBJECT

public:
    explicit IPv6SubnetsTabController(const ControllerContext& context);

    // The ipv6SubnetsTab page.
    QWidget* GetTabPage() override;

protected:
    // The address edit and the two length combo boxes.
    QList<QObject*> GetBlockedWidgets() override;
    // Connects the edit and the length boxes and sets up the subnet table.
    void InitializeView() override;
    // Shows the stored address, the prefix, the subnets and the address's subnet.
    void DoUpdateView(QWidget* source) override;
    // The IPv6 address and the two lengths.
    bool IsSettingRelevant(OctetrySettings::Setting setting) override;

private slots:
    void on_ipv6SubnetsAddressEdit_textChanged(const QString& text);
    void on_ipv6SubnetsAddressEdit_editingFinished();
    void on_ipv6PrefixLengthComboBox_currentIndexChanged(int index);
    void on_ipv6SubnetLengthComboBox_currentIndexChanged(int index);
    void on_ipv6SubnetsTableView_currentRowChanged(const QModelIndex& current);
    void on_ipv6GenerateUlaButton_clicked();
    void on_ipv6AddressFromMacButton_clicked();

private:
    IPv6AddressEntry m_addressEntry;
    IPv6SubnetTableModel m_subnetModel;
};
