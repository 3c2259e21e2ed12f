#include "controllers/ipv6addresstypemodel.h"
#include "ipv6/ipv6addresstypes.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QtTest>

namespace
{
// The index of a row reached by names from the roots, "Unicast/Global/EUI-64 Formatted".
QModelIndex RowAt(const QAbstractItemModel& model, const QString& path)
{
    QModelIndex parent;
    for (const QString& name : path.split('/'))
    {
        QModelIndex found;
        for (int row = 0; row < model.rowCount(parent) && !found.isValid(); ++row)
            if (model.index(row, 0, parent).data().toString() == name)
                found = model.index(row, 0, parent);
        if (!found.isValid())
            return QModelIndex();
        parent = found;
    }
    return parent;
}

QString Cell(const QAbstractItemModel& model, const QString& path, int column)
{
    const QModelIndex row = RowAt(model, path);
    return row.sibling(row.row(), column).data().toString();
}

void CollectNames(const QAbstractItemModel& model, const QModelIndex& parent, QStringList& names)
{
    for (int row = 0; row < model.rowCount(parent); ++row)
    {
        const QModelIndex index = model.index(row, 0, parent);
        names << index.data().toString();
        CollectNames(model, index, names);
    }
}
} // namespace

class TstIPv6AddressTypeModel : public QObject
{
    Q_OBJECT

private slots:
    void passesTheModelTester();
    void rootsAndHeaders();
    void cells_data();
    void cells();
    void abstractRowsAreNeitherSelectableNorEnabled_data();
    void abstractRowsAreNeitherSelectableNorEnabled();
    void everyNodeButSolicitedNodeIsShown();
    void indexOfAndNodeOfAgree();
    void outOfRangeRequests();

private:
    IPv6AddressTypeModel model;
};

void TstIPv6AddressTypeModel::passesTheModelTester()
{
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TstIPv6AddressTypeModel::rootsAndHeaders()
{
    QStringList roots;
    for (int row = 0; row < model.rowCount(); ++row)
        roots << model.index(row, 0).data().toString();
    QCOMPARE(roots, QStringList({"Unspecified", "Loopback", "Unicast", "Multicast"}));
    QCOMPARE(model.columnCount(), 3);

    QStringList headers;
    for (int section = 0; section < 3; ++section)
        headers << model.headerData(section, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"Name", "Pattern", "Notes"}));
    QVERIFY(!model.headerData(3, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void TstIPv6AddressTypeModel::cells_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("notes");

    QTest::newRow("Unicast is abstract without pattern") << "Unicast" << "" << "Abstract";
    QTest::newRow("unicast Global is abstract") << "Unicast/Global" << "" << "Abstract";
    QTest::newRow("unicast Site-Local is deprecated") << "Unicast/Site-Local" << "FEC0::/10" << "Deprecated";
    QTest::newRow("IPv4-Mapped shows its IPv4 tail")
        << "Unicast/Global/Unformatted/IPv4-Mapped" << "::FFFF:0.0.0.0/96" << "";
    QTest::newRow("EUI-64 Formatted matches anything, no text")
        << "Unicast/Global/EUI-64 Formatted" << "" << "";
    QTest::newRow("multicast Site-Local is deprecated") << "Multicast/Site-Local" << "FF05::/16" << "Deprecated";
    QTest::newRow("its All Routers too") << "Multicast/Site-Local/All Routers" << "FF05::2/128" << "Deprecated";
}

void TstIPv6AddressTypeModel::cells()
{
    QFETCH(QString, path);
    QFETCH(QString, pattern);
    QFETCH(QString, notes);

    QVERIFY2(RowAt(model, path).isValid(), qPrintable(path));
    QCOMPARE(Cell(model, path, 1), pattern);
    QCOMPARE(Cell(model, path, 2), notes);
    QVERIFY(!RowAt(model, path).data(Qt::ToolTipRole).isValid());
    QVERIFY(!RowAt(model, path).data(Qt::EditRole).isValid());
}

void TstIPv6AddressTypeModel::abstractRowsAreNeitherSelectableNorEnabled_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("usable");

    QTest::newRow("Unicast") << "Unicast" << false;
    QTest::newRow("unicast Global") << "Unicast/Global" << false;
    QTest::newRow("EUI-64 Formatted") << "Unicast/Global/EUI-64 Formatted" << true;
    QTest::newRow("Loopback") << "Loopback" << true;
}

void TstIPv6AddressTypeModel::abstractRowsAreNeitherSelectableNorEnabled()
{
    QFETCH(QString, path);
    QFETCH(bool, usable);

    const QModelIndex row = RowAt(model, path);
    for (int column = 0; column < 3; ++column)
    {
        const Qt::ItemFlags flags = model.flags(row.sibling(row.row(), column));
        QCOMPARE(flags.testFlag(Qt::ItemIsSelectable), usable);
        QCOMPARE(flags.testFlag(Qt::ItemIsEnabled), usable);
    }
}

void TstIPv6AddressTypeModel::everyNodeButSolicitedNodeIsShown()
{
    QStringList names;
    CollectNames(model, QModelIndex(), names);
    QCOMPARE(names.size(), IPv6AddressTypeCount - 1);
    QVERIFY(!names.contains("Solicited-Node"));
    QCOMPARE(model.rowCount(RowAt(model, "Multicast")), 6);
}

void TstIPv6AddressTypeModel::indexOfAndNodeOfAgree()
{
    const QModelIndex allNodes = RowAt(model, "Multicast/Link-Local/All Nodes");
    const IPv6AddressTypeNode* node = IPv6AddressTypeModel::NodeOf(allNodes);
    QVERIFY(node != nullptr);
    QCOMPARE(node->GetTypeID(), 20);
    QCOMPARE(model.IndexOf(node), allNodes);
    QCOMPARE(IPv6AddressTypeModel::NodeOf(allNodes.sibling(allNodes.row(), 2)), node);
    QCOMPARE(allNodes.parent(), RowAt(model, "Multicast/Link-Local"));

    QVERIFY(!model.IndexOf(nullptr).isValid());
    QVERIFY(IPv6AddressTypeModel::NodeOf(QModelIndex()) == nullptr);
    QVERIFY(!model.parent(model.index(0, 0)).isValid());
}

void TstIPv6AddressTypeModel::outOfRangeRequests()
{
    const QModelIndex unicast = RowAt(model, "Unicast");
    QCOMPARE(model.rowCount(unicast), 3);
    QCOMPARE(model.rowCount(unicast.sibling(unicast.row(), 1)), 0);
    QCOMPARE(model.rowCount(unicast.sibling(unicast.row(), 2)), 0);
    QVERIFY(!model.index(0, 3).isValid());
    QVERIFY(!model.index(0, -1).isValid());
    QVERIFY(!model.index(4, 0).isValid());
    QVERIFY(!model.index(-1, 0).isValid());
    QVERIFY(!model.index(3, 0, unicast).isValid());
    QVERIFY(!model.data(QModelIndex()).isValid());
}

QTEST_GUILESS_MAIN(TstIPv6AddressTypeModel)

#include "tst_ipv6addresstypemodel.moc"
