// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ipv6subnettablemodel.h"

#include "models/tableheader.h"

#include <array>

namespace {
enum Column
{
    SubnetColumn = 0,
    FirstColumn = 1,
    LastColumn = 2,
    ColumnCount = 3
};

const std::array<const char*, ColumnCount> kColumnTitles = {
    QT_TRANSLATE_NOOP("IPv6SubnetTableModel", "Subnet"),
    QT_TRANSLATE_NOOP("IPv6SubnetTableModel", "First Address"),
    QT_TRANSLATE_NOOP("IPv6SubnetTableModel", "Last Address"),
};

QString CompressedText(const IPv6Address& address)
{
    return QString::fromStdString(address.ToString(IPv6Address::CompressedNotation));
}
} // namespace

IPv6SubnetTableModel::IPv6SubnetTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int IPv6SubnetTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_plan.GetRowCount();
}

int IPv6SubnetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool IPv6SubnetTableModel::GetSubnet(int row, IPv6Address& first, IPv6Address& last) const
{
    if (row < 0 || row >= rowCount())
        return false;
    m_plan.GetSubnet(m_plan.GetFirstRowIndex() + static_cast<UInt128>(row), first, last);
    return true;
}

QVariant IPv6SubnetTableModel::data(const QModelIndex& index, int role) const
{
    IPv6Address first;
    IPv6Address last;
    if (index.model() != this || role != Qt::DisplayRole || !GetSubnet(index.row(), first, last))
        return QVariant();
    switch (index.column()) {
    case SubnetColumn:
        return QString::fromStdString(IPv6SubnetPlan::PrefixText(first, m_plan.GetSubnetLength()));
    case FirstColumn:
        return CompressedText(first);
    case LastColumn:
        return CompressedText(last);
    default:
        return QVariant();
    }
}

QVariant IPv6SubnetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return TableHeader::Data(this, kColumnTitles, section, orientation, role, [this](int row) -> QVariant {
        return QString::fromStdString(
            IPv6SubnetPlan::DecimalText(m_plan.GetFirstRowIndex() + static_cast<UInt128>(row)));
    });
}

void IPv6SubnetTableModel::Reset(const IPv6SubnetPlan& plan)
{
    // Another address under the same lengths keeps the rows and their count:
    // the texts change in place, which repaints the rows alone, and an
    // address in the same window position changes nothing at all.
    if (plan.IsValid() && m_plan.IsValid() && plan.GetPrefixLength() == m_plan.GetPrefixLength()
        && plan.GetSubnetLength() == m_plan.GetSubnetLength() && plan.GetRowCount() == m_plan.GetRowCount()) {
        const bool moved = plan.GetFirst() != m_plan.GetFirst() || plan.GetFirstRowIndex() != m_plan.GetFirstRowIndex();
        m_plan = plan;
        if (moved) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
        }
        return;
    }
    beginResetModel();
    m_plan = plan;
    endResetModel();
}

std::unique_ptr<QAbstractItemModel> IPv6SubnetTableModel::Freeze() const
{
    auto model = std::make_unique<IPv6SubnetTableModel>();
    model->Reset(m_plan);
    return model;
}

QModelIndex IPv6SubnetTableModel::IndexOfAddress() const
{
    if (!m_plan.IsValid())
        return QModelIndex();
    return index(static_cast<int>(m_plan.GetAddressSubnetIndex() - m_plan.GetFirstRowIndex()), SubnetColumn);
}
