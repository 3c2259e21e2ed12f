// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/listresultmodel.h"

#include <algorithm>

ListResultModel::ListResultModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int ListResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ListResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant ListResultModel::data(const QModelIndex& index, int role) const
{
    if (index.model() != this || role != Qt::DisplayRole || index.row() >= m_rowCount)
        return QVariant();
    return QString::fromStdString(m_result->CellText(static_cast<UInt128>(index.row()), index.column()));
}

QVariant ListResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < columnCount() ? tr(m_titles[static_cast<size_t>(section)].c_str()) : QVariant();
    return section < m_rowCount ? QVariant(section + qint64{1}) : QVariant();
}

void ListResultModel::Reset(std::shared_ptr<const ListResult> result)
{
    beginResetModel();
    m_result = std::move(result);
    m_titles = m_result ? m_result->ColumnTitles() : std::vector<std::string>();
    m_rowCount = m_result ? static_cast<int>(std::min<UInt128>(m_result->GetRowCount(), IPv6SubnetPlan::MaxRows)) : 0;
    endResetModel();
}

std::unique_ptr<QAbstractItemModel> ListResultModel::Freeze() const
{
    auto model = std::make_unique<ListResultModel>();
    model->Reset(m_result);
    return model;
}
