// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"
#include "ipv4/ipv4subnetpolicy.h"
#include "models/freezablemodel.h"

#include <QAbstractTableModel>

// The subnets of the classful network of one address under one policy, one
// row per usable subnet. Nothing is stored per row: every cell is computed
// when a view asks for it.
class SubnetsTableModel : public QAbstractTableModel, public FreezableModel
{
    Q_OBJECT

public:
    explicit SubnetsTableModel(QObject* parent = nullptr);

    // The policy's maximum subnets; 0 while the model is empty.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Subnet ID, host addresses and broadcast.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Centred cell texts computed from the address, the policy and the row.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Column titles; the vertical header gives each row's subnet index.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Lists the subnets of address's network under policy; empty when the
    // address is not in the policy's class.
    void Reset(const IPv4Address& address, const IPv4SubnetPolicy& policy);
    // Empties the model.
    void Clear();
    // A model of the same address and policy.
    [[nodiscard]] std::unique_ptr<QAbstractItemModel> Freeze() const override;
    // Column 0 of the row showing address's subnet; invalid when no row shows it.
    QModelIndex IndexOfAddress(const IPv4Address& address) const;

    // The subnet index that row shows (row must lie below rowCount()).
    quint32 SubnetIndexOfRow(int row) const;

private:
    IPv4Address m_address;
    IPv4SubnetPolicy m_policy;
};
