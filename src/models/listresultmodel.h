// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/listcomputation.h"
#include "models/freezablemodel.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

// The rows of a Lists page result, each made when shown: all of them, or the
// first IPv6SubnetPlan::MaxRows of a larger result. Rows are numbered from 1.
class ListResultModel : public QAbstractTableModel, public FreezableModel
{
    Q_OBJECT

public:
    explicit ListResultModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows result; null empties the model.
    void Reset(std::shared_ptr<const ListResult> result);
    [[nodiscard]] std::unique_ptr<QAbstractItemModel> Freeze() const override;
    // The result shown; null when empty.
    [[nodiscard]] const std::shared_ptr<const ListResult>& GetResult() const { return m_result; }

private:
    std::shared_ptr<const ListResult> m_result;
    std::vector<std::string> m_titles;
    int m_rowCount = 0;
};
