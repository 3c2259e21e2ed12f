// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"
#include "widgets/largetableview.h"

// The table as the user sees it: the current row, the selected rows (first,
// last, count) and the row at the top.
struct TableState
{
    int current = -1, first = -1, last = -1, count = 0, top = 0;
    bool operator==(const TableState&) const = default;
};
char* toString(const TableState& s)
{
    return QTest::toString(
        QString::asprintf("current %d, rows %d-%d (%d) selected, top %d", s.current, s.first, s.last, s.count, s.top));
}

// Row r shows r, in as many rows as a model can have; counts the reads of its row numbers.
class CountingModel : public QAbstractTableModel
{
public:
    mutable int headerReads = 0;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        ++headerReads;
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : INT_MAX; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QString::number(index.row())) : QVariant();
    }
};

// The route table of the CIDR page for 10.1.2.3 in block /1: with mask /2 it
// has 2 rows; with mask /32 a window of 16,777,216 rows around the address.
class TstLargeTableView : public QObject
{
    Q_OBJECT

    static constexpr int addressRow = 8388608, lastRow = 16777215;

private slots:
    void init()
    {
        form.show();
        form.activateWindow(); // after a table of a test's own
        QVERIFY(QTest::qWaitForWindowActive(&form));
        ui->tabWidget->setCurrentWidget(ui->cidrTab);
        TypeOver(ui->cidrAddressEdit, "10.1.2.3");
        ChooseMaskBits(ui->addressBlockMaskComboBox, 1);
        ChooseMaskBits(ui->cidrMaskComboBox, 32);
        view->setFocus();
    }

    void resetKeepsAddressRowCentredAndColumnsFitted()
    {
        for (int maskBits : {32, 2, 32}) {
            ChooseMaskBits(ui->cidrMaskComboBox, maskBits);
            const int row = maskBits == 32 ? addressRow : 0;
            QCOMPARE(view->model()->rowCount(), maskBits == 32 ? lastRow + 1 : 2);
            QCOMPARE(State().current, row);
            QCOMPARE(State().count, 1);
            const int y = view->visualRect(view->currentIndex()).center().y();
            QVERIFY2(maskBits == 2 || qAbs(y - view->viewport()->height() / 2) <= view->rowHeight(),
                     qPrintable(QString::number(y)));
            QVERIFY(ShownTextsFit());
        }
    }

    void keysMoveTheCurrentRow_data()
    {
        // expected: current, first, last, count, top; -1/-2: one/two pages on
        AddColumns<QStringList, QList<int>>("keys", "expected");
        // clang-format off
        AddRow("Down moves one row", QStringList{"Down"}, QList<int>{addressRow + 1, addressRow + 1, addressRow + 1, 1, 0});
        AddRow("Page Down moves one page", QStringList{"PgDown"}, QList<int>{-1, -1, -1, 1, 0});
        AddRow("Shift+Page Down twice selects two pages on", QStringList{"Shift+PgDown", "Shift+PgDown"}, QList<int>{-2, addressRow, -2, 0, 0});
        AddRow("Ctrl+End goes to the last row, selection kept", QStringList{"Ctrl+End"}, QList<int>{lastRow, addressRow, addressRow, 1, 0});
        AddRow("Ctrl+A selects all", QStringList{"Ctrl+A"}, QList<int>{addressRow, 0, lastRow, lastRow + 1, 0});
        // clang-format on
    }
    void keysMoveTheCurrentRow()
    {
        QFETCH(QStringList, keys);
        QFETCH(QList<int>, expected);
        const int page = view->pageRowCount();
        const auto resolve = [&](int value) { return value < 0 ? addressRow - value * page : value; };
        for (const QString& key : keys)
            QTest::keySequence(view, QKeySequence(key));
        const TableState state = State();
        const int current = resolve(expected[0]);
        QCOMPARE(state.current, current);
        QCOMPARE(state.first, resolve(expected[1]));
        QCOMPARE(state.last, resolve(expected[2]));
        QCOMPARE(state.count, expected[3] ? expected[3] : state.last - state.first + 1);
        // The current row is on screen, its texts whole.
        QVERIFY(state.top <= current && current < state.top + page);
        QVERIFY(ShownTextsFit());
    }

    void mouseSelectsRowsAndCopyKeepsThem()
    {
        const auto click = [&](QWidget* widget, int row, Qt::KeyboardModifiers modifiers) {
            const int y = view->visualRect(view->model()->index(row, 0)).center().y();
            QTest::mouseClick(widget, Qt::LeftButton, modifiers, QPoint(widget == view->viewport() ? 5 : 2, y));
        };
        const int top = view->firstVisibleRow();
        click(view->viewport(), top + 1, {});
        click(view->viewport(), top + 3, Qt::ShiftModifier);
        QCOMPARE(State(), (TableState{top + 3, top + 1, top + 3, 3, top}));
        click(view->viewport(), top + 2, Qt::ControlModifier);
        QCOMPARE(State().count, 2);
        // A click on a row number selects the whole row.
        const QWidget* numbers = view->viewport()->parentWidget()->childAt(view->viewport()->x() - 2, 50);
        click(const_cast<QWidget*>(numbers), addressRow, {});
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(State().current, addressRow);
        QTest::keySequence(view, QKeySequence("Ctrl+Home")); // the first row's number as well
        click(const_cast<QWidget*>(numbers), 2, {});
        click(const_cast<QWidget*>(numbers), 0, {});
        QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 0);

        // A click on a column title selects the whole column.
        QTest::mouseClick(view->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(view->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(view->selectionModel()->selection(),
                 QItemSelection(view->model()->index(0, 1), view->model()->index(lastRow, 1)));
        // A click on the corner selects the whole table.
        QTest::mouseClick(
            view->viewport()->parentWidget()->childAt(view->viewport()->x() - 2, view->viewport()->y() - 2),
            Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(view->selectionModel()->selection(),
                 QItemSelection(view->model()->index(0, 0), view->model()->index(lastRow, 1)));

        // The last three rows, copied, then the table changes: the copy stays.
        QTest::keySequence(view, QKeySequence("Ctrl+End"));
        for (int i = 0; i < 2; ++i)
            QTest::keySequence(view, QKeySequence("Shift+Up"));
        QTest::keySequence(view, QKeySequence::Copy);
        ChooseMaskBits(ui->cidrMaskComboBox, 2);
        QCOMPARE(QApplication::clipboard()->text(),
                 "Route\tAddress Range\n10.129.2.0\tN/A\n10.129.2.1\tN/A\n10.129.2.2\tN/A\n");
    }

    void listsAsManyRowsAsAModelHas()
    {
        QStandardItemModel former(1, 1);
        CountingModel model;
        LargeTableView table;
        table.setModel(&former);
        table.setModel(&model);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QTest::keySequence(&table, QKeySequence("Down")); // the first key makes the top row current
        QTest::keySequence(&table, QKeySequence("Ctrl+End"));
        const int page = table.pageRowCount(), last = INT_MAX - 1;
        QCOMPARE(table.currentIndex().row(), last);
        QCOMPARE(table.firstVisibleRow(), INT_MAX - page);
        QVERIFY(table.viewport()->rect().contains(table.visualRect(table.currentIndex())));
        QTest::keySequence(&table, QKeySequence("Ctrl+Home"));
        QCOMPARE(table.firstVisibleRow(), 0);
        // A click on the first row, the scroll bar to the end, a Shift+click on the last row.
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            const QPoint point(5, (row - table.firstVisibleRow()) * table.rowHeight() + table.rowHeight() / 2);
            QTest::mouseClick(table.viewport(), Qt::LeftButton, modifiers, point);
        };
        click(0, {});
        table.verticalScrollBar()->setValue(table.verticalScrollBar()->maximum());
        click(last, Qt::ShiftModifier);
        QCOMPARE(table.selectionModel()->selection(), QItemSelection(model.index(0, 0), model.index(last, 0)));
        QVERIFY(model.headerReads > 0);
        // The model given up for this one no longer has its renumbering measured and shown; this one has.
        model.headerReads = 0;
        former.setHeaderData(0, Qt::Vertical, "renumbered");
        QCOMPARE(model.headerReads, 0);
        emit model.headerDataChanged(Qt::Vertical, 0, 0);
        QVERIFY(model.headerReads > 0);
    }

    // Below 4,097 rows a typed prefix finds its row; columns fit as a QTableView's do; a click
    // below the last row's number leaves the selection alone.
    void smallTables()
    {
        QStandardItemModel model(4096, 1);
        for (int row = 0; row < model.rowCount(); ++row)
            model.setItem(row, new QStandardItem(QString("%1").arg(row * 7, 5, 10, QLatin1Char('0'))));
        LargeTableView table;
        QTableView reference;
        table.setModel(&model);
        reference.setModel(&model);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        table.resizeColumnsToContents();
        reference.resizeColumnToContents(0);
        QCOMPARE(table.horizontalHeader()->sectionSize(0), reference.columnWidth(0));
        table.keyboardSearch("04095");
        QCOMPARE(table.currentIndex().row(), 585);
        QStandardItemModel few(2, 2);
        table.setModel(&few);
        QVERIFY(!table.verticalScrollBar()->isVisible()); // at once, so the next paint is the only one
        // A selected cell is painted inside its grid lines.
        table.selectionModel()->select(few.index(0, 0), QItemSelectionModel::Select);
        const QImage shot = table.viewport()->grab().toImage();
        const int x = table.horizontalHeader()->sectionSize(0), h = table.rowHeight(), below = h + h / 2;
        QVERIFY(shot.pixel(1, h / 2) != shot.pixel(1, below));
        for (const QPoint& next : {QPoint(x, h / 2), QPoint(1, h)}) // the next column's and row's first pixels
            QCOMPARE(shot.pixel(next), shot.pixel(x, below));
    }

private:
    // Every cell on screen and the row numbers fit their columns, unelided.
    bool ShownTextsFit() const
    {
        const QFontMetrics metrics(view->font());
        const QAbstractItemModel* model = view->model();
        const int last = std::min(model->rowCount(), view->firstVisibleRow() + view->pageRowCount()) - 1;
        for (int row = view->firstVisibleRow(); row <= last; ++row)
            for (int column = 0; column < 2; ++column)
                if (metrics.horizontalAdvance(model->index(row, column).data().toString())
                    >= view->horizontalHeader()->sectionSize(column))
                    return false;
        return metrics.horizontalAdvance(model->headerData(last, Qt::Vertical).toString()) < view->viewport()->x();
    }

    TableState State() const
    {
        const QItemSelection selection = view->selectionModel()->selection();
        TableState state{view->currentIndex().row(), -1, -1, 0, view->firstVisibleRow()};
        for (const QItemSelectionRange& range : selection) {
            state.first = state.first < 0 ? range.top() : std::min(state.first, range.top());
            state.last = std::max(state.last, range.bottom());
            state.count += range.height();
        }
        return state;
    }

    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    LargeTableView* view = ui->cidrTableView;
};

OCTETRY_WINDOW_TEST_MAIN(TstLargeTableView)

#include "tst_largetableview.moc"
