#include "common/testenvironment.h"
#include "controllers/itemviewcopier.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>

class TstItemViewCopier : public QObject
{
    Q_OBJECT

private slots:
    void copiesSelectedRowsInViewOrder_data()
    {
        QTest::addColumn<QList<QPoint>>("cells"); // (column, row)
        QTest::addColumn<bool>("tree");
        QTest::addColumn<QString>("copied"); // by the Copy shortcut; "kept" when nothing is
        QTest::newRow("nothing selected leaves the clipboard") << QList<QPoint>{} << false << "kept";
        QTest::newRow("one cell copies its whole row")
            << QList<QPoint>{{1, 2}} << false << "A\tB\tC\nr2c0\tr2c1\tr2c2\n";
        QTest::newRow("rows picked bottom first, two cells of one row")
            << QList<QPoint>{{0, 4}, {2, 1}, {0, 4}} << false << "A\tB\tC\nr1c0\tr1c1\tr1c2\nr4c0\tr4c1\tr4c2\n";
        QTest::newRow("column C moved first, B hidden") << QList<QPoint>{{0, 3}} << false << "C\tA\nr3c2\tr3c0\n";
        QTest::newRow("tree: parent before child, root rows by path")
            << QList<QPoint>{{0, 3}, {0, 1}, {0, 2}} << true
            << "A\tB\tC\nr2c0\tr2c1\tr2c2\nr1c0\tr1c1\tr1c2\nr3c0\tr3c1\tr3c2\n";
    }
    void copiesSelectedRowsInViewOrder()
    {
        QFETCH(QList<QPoint>, cells);
        QFETCH(bool, tree);
        QStandardItemModel model(5, 3);
        model.setHorizontalHeaderLabels({"A", "B", "C"});
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                model.setItem(row, column, new QStandardItem(QString("r%1c%2").arg(row).arg(column)));
        QWidget window;
        QAbstractItemView* view =
            tree ? static_cast<QAbstractItemView*>(new QTreeView(&window)) : new QTableView(&window);
        for (QStandardItem* parent = model.item(2, 0); tree && parent->rowCount() < 2;) // r0, r1 become children of r2
            parent->appendRow(model.takeRow(0));
        view->setModel(&model);
        if (QString(QTest::currentDataTag()).contains("moved")) {
            static_cast<QTableView*>(view)->horizontalHeader()->moveSection(2, 0);
            static_cast<QTableView*>(view)->setColumnHidden(1, true);
        }
        ItemViewCopier::Install(view);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view->setFocus();
        for (const QPoint& cell : cells)
            view->selectionModel()->select(model.findItems(QString("r%1c0").arg(cell.y()), Qt::MatchRecursive)
                                               .first()
                                               ->index()
                                               .siblingAtColumn(cell.x()),
                                           QItemSelectionModel::Select);
        QApplication::clipboard()->setText("kept");
        QTest::keySequence(view, QKeySequence::Copy);
        QTEST(QApplication::clipboard()->text(), "copied");
        QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    TstItemViewCopier test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_itemviewcopier.moc"
