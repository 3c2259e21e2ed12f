#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "common/testenvironment.h"
#include "controllers/itemviewcopier.h"

class TstItemViewCopier : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tableRowsInViewOrder_data();
    void tableRowsInViewOrder();
    void nothingSelectedCopiesNothing();
    void hiddenAndMovedColumnsFollowTheView();
    void treeRowsInDisplayOrder();
    void shortcutAndContextMenuCopy();

private:
    QStandardItemModel m_table{5, 3};
    QTableView m_tableView;
};

void TstItemViewCopier::init()
{
    m_table.setHorizontalHeaderLabels({"Network", "First", "Last"});
    for (int row = 0; row < m_table.rowCount(); ++row)
        for (int column = 0; column < m_table.columnCount(); ++column)
            m_table.setItem(row, column, new QStandardItem(QStringLiteral("r%1c%2").arg(row).arg(column)));
    m_tableView.setModel(&m_table);
    m_tableView.horizontalHeader()->reset();
    m_tableView.clearSelection();
    QApplication::clipboard()->clear();
}

void TstItemViewCopier::tableRowsInViewOrder_data()
{
    QTest::addColumn<QList<QPoint>>("selectedCells"); // (column, row)
    QTest::addColumn<QString>("expected");
    const QString header = "Network\tFirst\tLast\n";
    QTest::newRow("one cell copies its whole row")
        << QList<QPoint>{{1, 2}} << header + "r2c0\tr2c1\tr2c2\n";
    QTest::newRow("rows picked bottom first come out top first")
        << QList<QPoint>{{0, 4}, {2, 1}} << header + "r1c0\tr1c1\tr1c2\nr4c0\tr4c1\tr4c2\n";
    QTest::newRow("two cells of one row give one line")
        << QList<QPoint>{{0, 3}, {2, 3}} << header + "r3c0\tr3c1\tr3c2\n";
}

void TstItemViewCopier::tableRowsInViewOrder()
{
    QFETCH(QList<QPoint>, selectedCells);
    QFETCH(QString, expected);
    for (const QPoint& cell : selectedCells)
        m_tableView.selectionModel()->select(m_table.index(cell.y(), cell.x()), QItemSelectionModel::Select);
    QCOMPARE(ItemViewCopier::SelectedRowsText(&m_tableView), expected);
}

void TstItemViewCopier::nothingSelectedCopiesNothing()
{
    QApplication::clipboard()->setText("kept");
    ItemViewCopier* copier = ItemViewCopier::Install(&m_tableView);
    QCOMPARE(ItemViewCopier::SelectedRowsText(&m_tableView), QString());
    copier->on_copyAction_triggered();
    QCOMPARE(QApplication::clipboard()->text(), QString("kept"));
    delete copier;
}

void TstItemViewCopier::hiddenAndMovedColumnsFollowTheView()
{
    m_tableView.horizontalHeader()->moveSection(2, 0);
    m_tableView.setColumnHidden(1, true);
    m_tableView.selectRow(0);
    QCOMPARE(ItemViewCopier::SelectedRowsText(&m_tableView), QString("Last\tNetwork\nr0c2\tr0c0\n"));
    m_tableView.setColumnHidden(1, false);
}

void TstItemViewCopier::treeRowsInDisplayOrder()
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels({"Name", "Pattern"});
    auto* unicast = new QStandardItem("Unicast");
    unicast->appendRow({new QStandardItem("Link-Local"), new QStandardItem("FE80::/10")});
    unicast->appendRow({new QStandardItem("Global"), new QStandardItem("2000::/3")});
    model.appendRow({unicast, new QStandardItem("")});
    model.appendRow({new QStandardItem("Multicast"), new QStandardItem("FF00::/8")});
    QTreeView tree;
    tree.setModel(&model);
    tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree.setSelectionBehavior(QAbstractItemView::SelectRows);
    tree.expandAll();
    const QModelIndex global = model.index(1, 0, model.index(0, 0));
    tree.selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    tree.selectionModel()->select(global, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    tree.selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(ItemViewCopier::SelectedRowsText(&tree),
             QString("Name\tPattern\nUnicast\t\nGlobal\t2000::/3\nMulticast\tFF00::/8\n"));
}

void TstItemViewCopier::shortcutAndContextMenuCopy()
{
    QWidget window;
    auto* view = new QTableView(&window);
    view->setModel(&m_table);
    ItemViewCopier::Install(view);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    view->setFocus();
    view->selectRow(1);

    QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(view->actions().size(), 1);
    QCOMPARE(view->actions().first()->text(), QString("Copy"));

    QTest::keySequence(view, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QString("Network\tFirst\tLast\nr1c0\tr1c1\tr1c2\n"));
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    TstItemViewCopier test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_itemviewcopier.moc"
