// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/listproblemmodel.h"

#include "models/tableheader.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {
enum Column
{
    ListColumn = 0,
    LineColumn = 1,
    TextColumn = 2,
    ProblemColumn = 3,
    ColumnCount = 4
};

const std::array<const char*, ColumnCount> kColumnTitles = {
    QT_TRANSLATE_NOOP("ListProblemModel", "List"),
    QT_TRANSLATE_NOOP("ListProblemModel", "Line"),
    QT_TRANSLATE_NOOP("ListProblemModel", "Text"),
    QT_TRANSLATE_NOOP("ListProblemModel", "Problem"),
};
} // namespace

ListProblemModel::ListProblemModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int ListProblemModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_outcome)
        return 0;
    // One problem at most per line, and a list's lines are counted in 32 bits.
    return static_cast<int>(std::min<size_t>(m_outcome->problemsA.size() + m_outcome->problemsB.size(), INT_MAX));
}

int ListProblemModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ListProblemModel::data(const QModelIndex& index, int role) const
{
    if (index.model() != this || role != Qt::DisplayRole || index.row() >= rowCount())
        return QVariant();
    const auto row = static_cast<size_t>(index.row());
    const bool inA = row < m_outcome->problemsA.size();
    const ListProblem& problem =
        inA ? m_outcome->problemsA[row] : m_outcome->problemsB[row - m_outcome->problemsA.size()];
    switch (index.column()) {
    case ListColumn:
        return inA ? QStringLiteral("A") : QStringLiteral("B");
    case LineColumn:
        return problem.line;
    case TextColumn:
        return QString::fromStdString(problem.text);
    case ProblemColumn:
        return QString::fromStdString(problem.reason);
    default:
        return QVariant();
    }
}

QVariant ListProblemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return TableHeader::Data(this, kColumnTitles, section, orientation, role,
                             [](int row) -> QVariant { return row + qint64{1}; });
}

void ListProblemModel::Reset(std::shared_ptr<const ListOutcome> outcome)
{
    beginResetModel();
    m_outcome = std::move(outcome);
    endResetModel();
}

std::unique_ptr<QAbstractItemModel> ListProblemModel::Freeze() const
{
    auto model = std::make_unique<ListProblemModel>();
    model->Reset(m_outcome);
    return model;
}
