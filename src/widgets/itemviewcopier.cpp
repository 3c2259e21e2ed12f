// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/itemviewcopier.h"

#include "models/freezablemodel.h"
#include "widgets/largetableview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <atomic>
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

QString HeaderLine(const QAbstractItemModel* model, const std::vector<int>& columns)
{
    QStringList headers;
    for (int column : columns)
        headers << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return headers.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

void AppendRow(QString& text, const QAbstractItemModel* model, const std::vector<int>& columns, int row,
               const QModelIndex& parent)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\t');
        text += model->data(model->index(row, columns[i], parent), Qt::DisplayRole).toString();
    }
    text += QLatin1Char('\n');
}

QString RowsText(const QAbstractItemModel* model, const std::vector<int>& columns, const SelectedRows& rows)
{
    QString text = HeaderLine(model, columns);
    for (const SelectedRows::Run& run : rows.runs)
        for (int row = run.path.back(); row <= run.last; ++row)
            AppendRow(text, model, columns, row, run.parent);
    return text;
}

// The most characters one copy may make. Text is made at about 12 ns a
// character (bench_interaction), so a paste of at most this many holds the
// window about 25 ms; more are offered to be saved to a file instead.
constexpr qint64 kMaxCopiedLength = qint64(2) << 20;

qint64 RowCount(const SelectedRows& rows)
{
    qint64 count = 0;
    for (const SelectedRows::Run& run : rows.runs)
        count += run.last - run.path.back() + 1;
    return count;
}

// About how many characters the rows make: the header and the first row's length times their number.
qint64 EstimatedLength(const QAbstractItemModel* model, const std::vector<int>& columns, const SelectedRows& rows)
{
    if (rows.runs.empty())
        return 0;
    QString first;
    AppendRow(first, model, columns, rows.runs.front().path.back(), rows.runs.front().parent);
    return HeaderLine(model, columns).size() + first.size() * RowCount(rows);
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

// Writes the text of selected rows of a frozen model to a file, on a thread of
// its own; the file appears only once every row is written.
class RowsFileWriter : public QThread
{
public:
    RowsFileWriter(std::unique_ptr<QAbstractItemModel> model, std::vector<int> columns, SelectedRows rows)
        : m_model(std::move(model)),
          m_columns(std::move(columns)),
          m_rows(std::move(rows)),
          m_rowCount(RowCount(m_rows))
    {
    }

    ~RowsFileWriter() override
    {
        Cancel();
        wait();
    }

    void Cancel() { m_cancelled = true; }
    [[nodiscard]] bool IsCancelled() const { return m_cancelled; }
    // The share of rows written, 0 to 1000.
    [[nodiscard]] int Permille() const { return m_rowCount ? static_cast<int>(m_written * 1000 / m_rowCount) : 1000; }
    void SetPath(const QString& path) { m_path = path; }
    [[nodiscard]] const QString& GetPath() const { return m_path; }
    // Why the file could not be written; empty once it is, and after a cancel. Read once finished.
    [[nodiscard]] const QString& GetError() const { return m_error; }

protected:
    void run() override
    {
        QSaveFile file(m_path);
        if (!file.open(QIODevice::WriteOnly)) {
            m_error = file.errorString();
            return;
        }
        QString text = HeaderLine(m_model.get(), m_columns);
        for (const SelectedRows::Run& run : m_rows.runs)
            for (int row = run.path.back(); row <= run.last; ++row) {
                AppendRow(text, m_model.get(), m_columns, row, run.parent);
                ++m_written;
                if (text.size() < kChunkLength && row < run.last)
                    continue;
                if (m_cancelled || file.write(text.toUtf8()) < 0) {
                    file.cancelWriting();
                    m_error = m_cancelled ? QString() : file.errorString();
                    return;
                }
                text.clear();
            }
        if (file.write(text.toUtf8()) < 0 || !file.commit())
            m_error = file.errorString();
    }

private:
    static constexpr qsizetype kChunkLength = qsizetype(1) << 20;

    std::unique_ptr<QAbstractItemModel> m_model;
    std::vector<int> m_columns;
    SelectedRows m_rows;
    QString m_path;
    qint64 m_rowCount;
    std::atomic<qint64> m_written = 0;
    std::atomic<bool> m_cancelled = false;
    QString m_error;
};

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

ItemViewCopier::~ItemViewCopier() = default;

void ItemViewCopier::on_copyAction_triggered()
{
    const QAbstractItemModel* model = m_view->model();
    const QItemSelectionModel* selectionModel = m_view->selectionModel();
    if (!model || !selectionModel || !selectionModel->hasSelection())
        return;
    SelectedRows rows(selectionModel->selection(), !qobject_cast<const QTreeView*>(m_view));
    std::vector<int> columns = VisibleColumns(m_view);
    const auto* freezable = dynamic_cast<const FreezableModel*>(model);
    const qint64 length = EstimatedLength(model, columns, rows);
    if (length > kMaxCopiedLength) {
        const QLocale locale;
        QMessageBox box(
            QMessageBox::Warning, tr("Copy Failed"),
            tr("The %1 selected rows make about %2 characters of text, more than one copy holds (%3).")
                .arg(locale.toString(RowCount(rows)), locale.toString(length), locale.toString(kMaxCopiedLength)),
            QMessageBox::Cancel, m_view->window());
        const QPushButton* save = nullptr;
        if (freezable && !m_writer) {
            box.setInformativeText(tr("Save them to a file instead?"));
            save = box.addButton(tr("Save Rows…"), QMessageBox::AcceptRole);
        } else {
            box.setInformativeText(tr("Select fewer rows."));
        }
        box.exec();
        if (save && box.clickedButton() == save)
            SaveRows(std::make_unique<RowsFileWriter>(freezable->Freeze(), std::move(columns), std::move(rows)));
        return;
    }
    if (freezable)
        QApplication::clipboard()->setMimeData(
            new LazyRowsMimeData(freezable->Freeze(), std::move(columns), std::move(rows)));
    else
        QApplication::clipboard()->setText(RowsText(model, columns, rows));
}

void ItemViewCopier::SaveRows(std::unique_ptr<RowsFileWriter> writer)
{
    QWidget* window = m_view->window();
    // The working folder of a desktop start is seldom where the user keeps files.
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(tr("rows.tsv"));
    const QString path =
        QFileDialog::getSaveFileName(window, tr("Save Rows"), suggested, tr("Text files (*.txt *.tsv);;All files (*)"));
    if (path.isEmpty())
        return;
    m_writer = std::move(writer);
    m_writer->SetPath(path);
    auto* progress = new QProgressDialog(tr("Saving rows to %1…").arg(QDir::toNativeSeparators(path)), tr("Cancel"), 0,
                                         1000, window);
    progress->setObjectName(QStringLiteral("saveRowsProgressDialog"));
    progress->setWindowTitle(tr("Save Rows"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setMinimumDuration(0);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    auto* timer = new QTimer(progress);
    // The writer as context: the dialog goes later than the writer does.
    connect(timer, &QTimer::timeout, m_writer.get(), [this, progress] { progress->setValue(m_writer->Permille()); });
    connect(progress, &QProgressDialog::canceled, m_writer.get(), [this] { m_writer->Cancel(); });
    connect(m_writer.get(), &QThread::finished, this, [this, progress, window] {
        progress->close();
        const std::unique_ptr<RowsFileWriter> writer = std::move(m_writer);
        if (!writer->IsCancelled() && !writer->GetError().isEmpty())
            QMessageBox::warning(window, tr("Save Failed"),
                                 tr("The rows could not be saved to %1: %2.")
                                     .arg(QDir::toNativeSeparators(writer->GetPath()), writer->GetError()));
    });
    timer->start(50);
    progress->setValue(0);
    m_writer->start();
}
