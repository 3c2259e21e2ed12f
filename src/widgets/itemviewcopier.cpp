// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/itemviewcopier.h"

#include "models/freezablemodel.h"
#include "widgets/largetableview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The model columns in the order the view shows them, hidden ones left out.
std::vector<int> VisibleColumns(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    const QHeaderView* header = nullptr;
    if (const auto* table = qobject_cast<const QTableView*>(view))
        header = table->horizontalHeader();
    else if (const auto* largeTable = qobject_cast<const LargeTableView*>(view))
        header = largeTable->horizontalHeader();
    else if (const auto* tree = qobject_cast<const QTreeView*>(view))
        header = tree->header();
    std::vector<int> columns;
    const int count = model->columnCount();
    for (int visual = 0; visual < count; ++visual) {
        const int logical = header ? header->logicalIndex(visual) : visual;
        if (logical >= 0 && !(header && header->isSectionHidden(logical)))
            columns.push_back(logical);
    }
    return columns;
}

// The row numbers from the root down to index: sorting by them gives the
// order in which a tree shows its rows.
std::vector<int> PathOf(QModelIndex index)
{
    std::vector<int> path;
    for (; index.isValid(); index = index.parent())
        path.push_back(index.row());
    std::reverse(path.begin(), path.end());
    return path;
}

// Selected rows in the order the view shows them: runs of table rows, or the
// single rows of a tree. A table keeps only ranges, so selecting millions of
// its rows costs no more than a few.
struct SelectedRows
{
    struct Run
    {
        std::vector<int> path; // of the first row
        QPersistentModelIndex parent;
        int last;
    };
    std::vector<Run> runs;

    SelectedRows(const QItemSelection& selection, bool table)
    {
        for (const QItemSelectionRange& range : selection) {
            if (table) {
                runs.push_back({{range.top()}, {}, range.bottom()});
                continue;
            }
            const std::vector<int> parentPath = PathOf(range.parent());
            for (int row = range.top(); row <= range.bottom(); ++row) {
                std::vector<int> path = parentPath;
                path.push_back(row);
                runs.push_back({std::move(path), range.parent(), row});
            }
        }
        std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.path < b.path; });
        // Overlapping runs and rows selected in more than one column become one.
        std::vector<Run> merged;
        for (Run& run : runs) {
            if (!merged.empty() && run.parent == merged.back().parent && run.path.back() <= merged.back().last) {
                merged.back().last = std::max(merged.back().last, run.last);
                continue;
            }
            merged.push_back(std::move(run));
        }
        runs = std::move(merged);
    }
};

QString RowsText(const QAbstractItemModel* model, const std::vector<int>& columns, const SelectedRows& rows)
{
    QStringList headers;
    for (int column : columns)
        headers << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    QString text = headers.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const SelectedRows::Run& run : rows.runs)
        for (int row = run.path.back(); row <= run.last; ++row) {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                if (i > 0)
                    text += QLatin1Char('\t');
                text += model->data(model->index(row, columns[i], run.parent), Qt::DisplayRole).toString();
            }
            text += QLatin1Char('\n');
        }
    return text;
}

// The most characters one copy may make (2 GiB of text): a paste of more would
// exhaust memory before any program could take it.
constexpr qint64 maxCopiedLength = qint64(1) << 30;

// About how many characters the rows make: the first row's length times their number.
qint64 EstimatedLength(const QAbstractItemModel* model, const std::vector<int>& columns, const SelectedRows& rows)
{
    if (rows.runs.empty())
        return 0;
    qint64 count = 0;
    for (const SelectedRows::Run& run : rows.runs)
        count += run.last - run.path.back() + 1;
    SelectedRows first = rows;
    first.runs.resize(1);
    first.runs.front().last = first.runs.front().path.back();
    return static_cast<qint64>(RowsText(model, columns, first).size()) * count;
}

// Clipboard content made when first asked for, from a frozen copy of the model.
class LazyRowsMimeData : public QMimeData
{
public:
    LazyRowsMimeData(std::unique_ptr<QAbstractItemModel> model, std::vector<int> columns, SelectedRows rows)
        : m_model(std::move(model)),
          m_columns(std::move(columns)),
          m_rows(std::move(rows))
    {
    }

    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& mimeType) const override { return mimeType == QLatin1String("text/plain"); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override
    {
        if (!hasFormat(mimeType))
            return {};
        if (!m_text)
            m_text = RowsText(m_model.get(), m_columns, m_rows);
        return *m_text;
    }

private:
    std::unique_ptr<QAbstractItemModel> m_model;
    std::vector<int> m_columns;
    SelectedRows m_rows;
    mutable std::optional<QString> m_text;
};

} // namespace

ItemViewCopier* ItemViewCopier::Install(QAbstractItemView* view)
{
    return new ItemViewCopier(view);
}

ItemViewCopier::ItemViewCopier(QAbstractItemView* view)
    : QObject(view),
      m_view(view)
{
    auto* action = new QAction(tr("Copy"), view);
    action->setObjectName(view->objectName() + QStringLiteral("CopyAction"));
    action->setShortcut(QKeySequence::Copy);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, &ItemViewCopier::on_copyAction_triggered);
    view->addAction(action);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ItemViewCopier::on_copyAction_triggered()
{
    const QAbstractItemModel* model = m_view->model();
    const QItemSelectionModel* selectionModel = m_view->selectionModel();
    if (!model || !selectionModel || !selectionModel->hasSelection())
        return;
    SelectedRows rows(selectionModel->selection(), !qobject_cast<const QTreeView*>(m_view));
    std::vector<int> columns = VisibleColumns(m_view);
    if (EstimatedLength(model, columns, rows) > maxCopiedLength) {
        QMessageBox::warning(m_view->window(), tr("Copy Failed"),
                             tr("The selected rows are too many to copy at once. Select fewer rows."), QMessageBox::Ok);
        return;
    }
    if (const auto* freezable = dynamic_cast<const FreezableModel*>(model))
        QApplication::clipboard()->setMimeData(
            new LazyRowsMimeData(freezable->Freeze(), std::move(columns), std::move(rows)));
    else
        QApplication::clipboard()->setText(RowsText(model, columns, rows));
}
