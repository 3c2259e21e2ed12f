#include "controllers/itemviewcopier.h"

#include "controllers/largetableview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QStringList>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
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

void AppendRow(QString& text, const QAbstractItemModel* model, const QModelIndex& parent, int row,
               const std::vector<int>& columns)
{
    QStringList cells;
    cells.reserve(static_cast<qsizetype>(columns.size()));
    for (int column : columns)
        cells << model->data(model->index(row, column, parent), Qt::DisplayRole).toString();
    text += cells.join(QLatin1Char('\t'));
    text += QLatin1Char('\n');
}

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

QString ItemViewCopier::SelectedRowsText(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    const QItemSelectionModel* selectionModel = view->selectionModel();
    if (!model || !selectionModel)
        return {};

    // Selection ranges rather than selected indexes, so that a selection of
    // many rows costs only the rows themselves.
    std::vector<std::pair<std::vector<int>, QModelIndex>> rows;
    const QItemSelection selection = selectionModel->selection();
    for (const QItemSelectionRange& range : selection) {
        const QModelIndex parent = range.parent();
        std::vector<int> parentPath = PathOf(parent);
        for (int row = range.top(); row <= range.bottom(); ++row) {
            std::vector<int> path = parentPath;
            path.push_back(row);
            rows.emplace_back(std::move(path), parent);
        }
    }
    if (rows.empty())
        return {};
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    rows.erase(std::unique(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
               rows.end());

    const std::vector<int> columns = VisibleColumns(view);
    QStringList headers;
    for (int column : columns)
        headers << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    QString text = headers.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const auto& [path, parent] : rows)
        AppendRow(text, model, parent, path.back(), columns);
    return text;
}

void ItemViewCopier::on_copyAction_triggered()
{
    const QString text = SelectedRowsText(m_view);
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}
