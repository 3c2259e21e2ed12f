// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/subnetstablemodel.h"

#include "models/addresstext.h"
#include "models/tableheader.h"

#include <QString>

#include <array>

namespace {
enum Column
{
    SubnetIdColumn = 0,
    HostAddressesColumn = 1,
    BroadcastColumn = 2,
    ColumnCount = 3
};

const std::array<const char*, ColumnCount> kColumnTitles = {
    QT_TRANSLATE_NOOP("SubnetsTableModel", "Subnet ID"),
    QT_TRANSLATE_NOOP("SubnetsTableModel", "Host Addresses"),
    QT_TRANSLATE_NOOP("SubnetsTableModel", "Subnet Broadcast"),
};
} // namespace

SubnetsTableModel::SubnetsTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int SubnetsTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_policy.IsValid())
        return 0;
    quint32 maxSubnets = 0;
    quint32 maxHosts = 0;
    m_policy.GetMaxCounts(maxSubnets, maxHosts);
    return static_cast<int>(maxSubnets);
}

int SubnetsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

quint32 SubnetsTableModel::SubnetIndexOfRow(int row) const
{
    // Without RFC 1878 the all-zeros and all-ones subnets are not usable, so
    // the rows list the indices between them.
    return static_cast<quint32>(row) + (m_policy.GetAllowOneSubnetBit() ? 0 : 1);
}

QVariant SubnetsTableModel::data(const QModelIndex& index, int role) const
{
    if (!m_policy.IsValid() || !index.isValid() || index.model() != this || index.row() < 0 || index.column() < 0
        || index.row() >= rowCount() || index.column() >= ColumnCount)
        return QVariant();

    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return QVariant();

    const quint32 subnetIndex = SubnetIndexOfRow(index.row());
    IPv4Address first;
    IPv4Address last;
    switch (index.column()) {
    case SubnetIdColumn:
        return m_policy.GetSubnet(m_address, subnetIndex, first, last) ? AddressText::DottedDecimal(first) : tr("N/A");
    case HostAddressesColumn:
        m_policy.GetHostRange(m_address, subnetIndex, first, last);
        return AddressText::RangeText(first, last);
    case BroadcastColumn:
        return m_policy.GetSubnet(m_address, subnetIndex, first, last) ? AddressText::DottedDecimal(last) : tr("N/A");
    default:
        return QVariant();
    }
}

QVariant SubnetsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return TableHeader::Data(this, kColumnTitles, section, orientation, role,
                             [this](int row) -> QVariant { return SubnetIndexOfRow(row); });
}

void SubnetsTableModel::Reset(const IPv4Address& address, const IPv4SubnetPolicy& policy)
{
    beginResetModel();
    // An address outside the policy's class has no subnets under it, and
    // every cell would throw: such a pair lists nothing.
    const bool listed = policy.IsValid() && policy.GetAddressClass().Contains(address);
    m_address = listed ? address : IPv4Address();
    m_policy = listed ? policy : IPv4SubnetPolicy();
    endResetModel();
}

std::unique_ptr<QAbstractItemModel> SubnetsTableModel::Freeze() const
{
    auto model = std::make_unique<SubnetsTableModel>();
    model->Reset(m_address, m_policy);
    return model;
}

void SubnetsTableModel::Clear()
{
    Reset(IPv4Address(), IPv4SubnetPolicy());
}

QModelIndex SubnetsTableModel::IndexOfAddress(const IPv4Address& address) const
{
    if (!m_policy.IsValid() || !m_policy.GetAddressClass().Contains(address))
        return QModelIndex();
    const quint32 subnetIndex = m_policy.GetSubnetIndex(address);
    const quint32 firstIndex = SubnetIndexOfRow(0);
    if (subnetIndex < firstIndex)
        return QModelIndex();
    const quint32 row = subnetIndex - firstIndex;
    if (row >= static_cast<quint32>(rowCount()))
        return QModelIndex();
    return index(static_cast<int>(row), SubnetIdColumn);
}
