// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ipv6/ipv6subnetplan.h"
#include "models/freezablemodel.h"

#include <QAbstractTableModel>

// The subnets of an IPv6 subnet plan, one row per subnet, computed on demand:
// all of them, or a window of IPv6SubnetPlan::MaxRows around the address's own.
// Each row is headed by the subnet's index within the prefix.
class IPv6SubnetTableModel : public QAbstractTableModel, public FreezableModel
{
    Q_OBJECT

public:
    explicit IPv6SubnetTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Subnet, First Address and Last Address.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Column titles; the subnet index of each row, in decimal.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Lists the subnets of plan; an invalid plan empties the model.
    void Reset(const IPv6SubnetPlan& plan);
    // A model of the same plan.
    [[nodiscard]] std::unique_ptr<QAbstractItemModel> Freeze() const override;
    // Column 0 of the row of the address's own subnet; invalid without a plan.
    [[nodiscard]] QModelIndex IndexOfAddress() const;
    // The first and last address of a row's subnet; false outside the rows.
    [[nodiscard]] bool GetSubnet(int row, IPv6Address& first, IPv6Address& last) const;
    [[nodiscard]] const IPv6SubnetPlan& GetPlan() const { return m_plan; }

private:
    IPv6SubnetPlan m_plan;
};
