// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "models/freezablemodel.h"

#include <QAbstractTableModel>

// The routes of a CIDR policy for the block holding an address, one row per
// route, computed on demand. At most MaxRows routes are shown: a window of
// network indices kept around the address's own route.
class CidrTableModel : public QAbstractTableModel, public FreezableModel
{
    Q_OBJECT

public:
    // The most rows the model ever reports (2^24).
    static constexpr quint32 MaxRows = static_cast<quint32>(1) << 24;

    // An empty model: no address, the default policy.
    explicit CidrTableModel(QObject* parent = nullptr);

    // 0 without a valid policy, else the policy's networks capped at MaxRows.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Route and Address Range.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The first address and the range of the row's route, both cells centred.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Column titles; each row is headed by the network index it shows.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Lists the routes of policy for the block holding address.
    void Reset(const IPv4Address& address, const IPv4CidrPolicy& policy);
    // Empties the model.
    void Clear();
    // A model of the same address and policy.
    [[nodiscard]] std::unique_ptr<QAbstractItemModel> Freeze() const override;
    // Column 0 of the row showing address's route; invalid when no row shows it.
    QModelIndex IndexOfAddress(const IPv4Address& address) const;

private:
    // Whether there is a policy (and an address) to list routes of.
    bool HasRoutes() const;
    quint32 GetMaxNetworks() const;
    // The network index shown in row 0.
    quint32 GetFirstNetworkIndex() const;

    IPv4Address m_address;
    IPv4CidrPolicy m_policy;
};
