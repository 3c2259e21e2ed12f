// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "lists/listcomputation.h"
#include "models/freezablemodel.h"

#include <QAbstractTableModel>

#include <memory>

// The problems of the two lists of the Lists page, A's first: the list, the
// line, the text and why it is a problem.
class ListProblemModel : public QAbstractTableModel, public FreezableModel
{
    Q_OBJECT

public:
    explicit ListProblemModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows outcome's problems; null empties the model.
    void Reset(std::shared_ptr<const ListOutcome> outcome);
    [[nodiscard]] std::unique_ptr<QAbstractItemModel> Freeze() const override;

private:
    std::shared_ptr<const ListOutcome> m_outcome;
};
