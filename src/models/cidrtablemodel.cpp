// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/cidrtablemodel.h"

#include "models/addresstext.h"
#include "models/tableheader.h"

#include <algorithm>
#include <array>

namespace {
enum Column
{
    RouteColumn = 0,
    RangeColumn = 1,
    ColumnCount = 2
};

const std::array<const char*, ColumnCount> kColumnTitles = {
    QT_TRANSLATE_NOOP("CidrTableModel", "Route"),
    QT_TRANSLATE_NOOP("CidrTableModel", "Address Range"),
};

// Half the row cap: how many routes the window keeps before the address's own.
constexpr quint32 HalfWindow = CidrTableModel::MaxRows / 2;
} // namespace

CidrTableModel::CidrTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

bool CidrTableModel::HasRoutes() const
{
    // A prefix plus CIDR bits beyond 32 describes no routes; its queries refuse it.
    return m_policy.IsValid() && m_address.IsValid()
           && static_cast<quint32>(m_policy.GetAddressBlock().GetMaskBits()) + m_policy.GetCidrBits() <= 32;
}

quint32 CidrTableModel::GetMaxNetworks() const
{
    quint32 maxNetworks = 0;
    quint32 addressesPerNetwork = 0;
    m_policy.GetMaxCounts(maxNetworks, addressesPerNetwork);
    return maxNetworks;
}

quint32 CidrTableModel::GetFirstNetworkIndex() const
{
    const quint32 maxNetworks = GetMaxNetworks();
    if (maxNetworks <= MaxRows)
        return 0;
    const quint32 index = m_policy.GetNetworkIndex(m_address);
    if (index < HalfWindow)
        return 0;
    // maxNetworks is at most 2^31 here, so the sum cannot wrap.
    if (index + HalfWindow < maxNetworks)
        return index - HalfWindow;
    return maxNetworks - MaxRows;
}

int CidrTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !HasRoutes())
        return 0;
    return static_cast<int>(std::min(GetMaxNetworks(), MaxRows));
}

int CidrTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CidrTableModel::data(const QModelIndex& index, int role) const
{
    if (!HasRoutes() || index.row() < 0 || index.column() < 0 || index.model() != this || index.row() >= rowCount())
        return QVariant();

    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return QVariant();

    IPv4Address first;
    IPv4Address last;
    const bool isRange =
        m_policy.GetRoute(m_address, GetFirstNetworkIndex() + static_cast<quint32>(index.row()), first, last);
    switch (index.column()) {
    case RouteColumn:
        return AddressText::DottedDecimal(first);
    case RangeColumn:
        return isRange ? AddressText::RangeText(first, last) : tr("N/A");
    default:
        return QVariant();
    }
}

QVariant CidrTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return TableHeader::Data(this, kColumnTitles, section, orientation, role, [this](int row) -> QVariant {
        return GetFirstNetworkIndex() + static_cast<quint32>(row);
    });
}

void CidrTableModel::Reset(const IPv4Address& address, const IPv4CidrPolicy& policy)
{
    beginResetModel();
    m_address = address;
    m_policy = policy;
    endResetModel();
}

std::unique_ptr<QAbstractItemModel> CidrTableModel::Freeze() const
{
    auto model = std::make_unique<CidrTableModel>();
    model->Reset(m_address, m_policy);
    return model;
}

void CidrTableModel::Clear()
{
    Reset(IPv4Address(), IPv4CidrPolicy());
}

QModelIndex CidrTableModel::IndexOfAddress(const IPv4Address& address) const
{
    if (!HasRoutes() || !address.IsValid())
        return QModelIndex();
    const quint32 networkIndex = m_policy.GetNetworkIndex(address);
    const quint32 first = GetFirstNetworkIndex();
    if (networkIndex < first || networkIndex - first >= static_cast<quint32>(rowCount()))
        return QModelIndex();
    return index(static_cast<int>(networkIndex - first), RouteColumn);
}
