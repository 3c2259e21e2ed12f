#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "controllers/subnetstablemodel.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

namespace
{
IPv4Address Address(const char* text)
{
    return IPv4Address(text, IPv4Address::DottedDecimal);
}

IPv4SubnetPolicy Policy(IPv4AddressClass::ClassID classID, quint32 subnetBits, bool rfc1878,
                        bool rfc3021)
{
    return IPv4SubnetPolicy(IPv4AddressClass(classID), subnetBits, rfc1878, rfc3021);
}
} // namespace

class TstSubnetsTableModel : public QObject
{
    Q_OBJECT

private slots:
    void rowCounts_data();
    void rowCounts();
    void cells_data();
    void cells();
    void everyCellIsCentred();
    void outsideCellsGiveNothing();
    void horizontalHeaders();
    void verticalHeaderNamesTheSubnetIndex_data();
    void verticalHeaderNamesTheSubnetIndex();
    void indexOfAddress_data();
    void indexOfAddress();
    void resetAndClearResetTheViews();
};

void TstSubnetsTableModel::rowCounts_data()
{
    QTest::addColumn<IPv4SubnetPolicy>("policy");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("rows");

    QTest::newRow("class A with 23 bits and both options has 8388608 rows")
        << Policy(IPv4AddressClass::ClassA, 23, true, true) << "10.1.2.3" << 8388608;
    QTest::newRow("class A with 22 bits and neither option has 4194302 rows")
        << Policy(IPv4AddressClass::ClassA, 22, false, false) << "10.1.2.3" << 4194302;
    QTest::newRow("class B with 4 bits has 14 rows without RFC 1878")
        << Policy(IPv4AddressClass::ClassB, 4, false, false) << "172.16.0.1" << 14;
    QTest::newRow("class B with 4 bits has 16 rows with RFC 1878")
        << Policy(IPv4AddressClass::ClassB, 4, true, false) << "172.16.0.1" << 16;
    QTest::newRow("class C with 1 bit has 2 rows")
        << Policy(IPv4AddressClass::ClassC, 1, true, false) << "192.168.1.1" << 2;
    QTest::newRow("class C with 6 bits has 62 rows")
        << Policy(IPv4AddressClass::ClassC, 6, false, false) << "192.168.1.1" << 62;
    QTest::newRow("the invalid policy has no rows") << IPv4SubnetPolicy() << "10.1.2.3" << 0;
    QTest::newRow("an address outside the policy's class has no rows")
        << Policy(IPv4AddressClass::ClassB, 4, false, false) << "10.1.2.3" << 0;
}

void TstSubnetsTableModel::rowCounts()
{
    QFETCH(IPv4SubnetPolicy, policy);
    QFETCH(QString, address);
    QFETCH(int, rows);

    SubnetsTableModel model;
    model.Reset(Address(qPrintable(address)), policy);
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.columnCount(), 3);
    // A table has no children below its cells.
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
}

void TstSubnetsTableModel::cells_data()
{
    QTest::addColumn<IPv4SubnetPolicy>("policy");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("subnetId");
    QTest::addColumn<QString>("hosts");
    QTest::addColumn<QString>("broadcast");

    const IPv4SubnetPolicy classB4 = Policy(IPv4AddressClass::ClassB, 4, true, false);
    QTest::newRow("RFC 1878 row 0 is the zero subnet")
        << classB4 << "172.16.0.1" << 0 << "172.16.0.0" << "172.16.0.1 - 172.16.15.254"
        << "172.16.15.255";
    QTest::newRow("RFC 1878 row 15 is the all-ones subnet")
        << classB4 << "172.16.0.1" << 15 << "172.16.240.0" << "172.16.240.1 - 172.16.255.254"
        << "172.16.255.255";

    const IPv4SubnetPolicy classB4Off = Policy(IPv4AddressClass::ClassB, 4, false, false);
    QTest::newRow("without RFC 1878 row 0 is subnet 1")
        << classB4Off << "172.16.0.1" << 0 << "172.16.16.0" << "172.16.16.1 - 172.16.31.254"
        << "172.16.31.255";
    QTest::newRow("without RFC 1878 row 13 is subnet 14")
        << classB4Off << "172.16.0.1" << 13 << "172.16.224.0" << "172.16.224.1 - 172.16.239.254"
        << "172.16.239.255";

    QTest::newRow("a 31-bit subnet has no ID or broadcast, only its two addresses")
        << Policy(IPv4AddressClass::ClassC, 7, true, true) << "192.168.1.77" << 38 << "N/A"
        << "192.168.1.76 - 192.168.1.77" << "N/A";
    QTest::newRow("a 30-bit subnet has two hosts")
        << Policy(IPv4AddressClass::ClassC, 6, false, false) << "192.168.1.77" << 18
        << "192.168.1.76" << "192.168.1.77 - 192.168.1.78" << "192.168.1.79";
    QTest::newRow("the last of 8388608 rows is computed like the first")
        << Policy(IPv4AddressClass::ClassA, 23, true, true) << "10.1.2.3" << 8388607 << "N/A"
        << "10.255.255.254 - 10.255.255.255" << "N/A";
    QTest::newRow("class A subnets keep the address's network")
        << Policy(IPv4AddressClass::ClassA, 8, false, false) << "99.1.2.3" << 41 << "99.42.0.0"
        << "99.42.0.1 - 99.42.255.254" << "99.42.255.255";
}

void TstSubnetsTableModel::cells()
{
    QFETCH(IPv4SubnetPolicy, policy);
    QFETCH(QString, address);
    QFETCH(int, row);
    QFETCH(QString, subnetId);
    QFETCH(QString, hosts);
    QFETCH(QString, broadcast);

    SubnetsTableModel model;
    model.Reset(Address(qPrintable(address)), policy);
    QCOMPARE(model.data(model.index(row, 0)).toString(), subnetId);
    QCOMPARE(model.data(model.index(row, 1)).toString(), hosts);
    QCOMPARE(model.data(model.index(row, 2)).toString(), broadcast);
}

void TstSubnetsTableModel::everyCellIsCentred()
{
    SubnetsTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(IPv4AddressClass::ClassB, 4, false, false));
    for (int row : {0, 13})
        for (int column = 0; column < 3; ++column)
            QCOMPARE(model.data(model.index(row, column), Qt::TextAlignmentRole).toInt(), 132);
    QVERIFY(!model.data(model.index(0, 0), Qt::EditRole).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
}

void TstSubnetsTableModel::outsideCellsGiveNothing()
{
    SubnetsTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(IPv4AddressClass::ClassB, 4, false, false));
    QVERIFY(!model.data(QModelIndex()).isValid());
    QVERIFY(!model.data(model.index(14, 0)).isValid());
    QVERIFY(!model.data(model.index(0, 3)).isValid());

    // An index of another model never reaches the arithmetic.
    SubnetsTableModel other;
    other.Reset(Address("10.0.0.1"), Policy(IPv4AddressClass::ClassA, 23, true, true));
    QVERIFY(!model.data(other.index(100, 0)).isValid());

    model.Clear();
    QVERIFY(!model.data(model.index(0, 0)).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::TextAlignmentRole).isValid());
}

void TstSubnetsTableModel::horizontalHeaders()
{
    SubnetsTableModel model;
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Subnet ID"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Host Addresses"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("Subnet Broadcast"));
    QVERIFY(!model.headerData(3, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(-1, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void TstSubnetsTableModel::verticalHeaderNamesTheSubnetIndex_data()
{
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("subnetIndex");

    QTest::newRow("with RFC 1878 row 0 is subnet 0") << true << 0 << 0;
    QTest::newRow("with RFC 1878 row 15 is subnet 15") << true << 15 << 15;
    QTest::newRow("without RFC 1878 row 0 is subnet 1") << false << 0 << 1;
    QTest::newRow("without RFC 1878 row 13 is subnet 14") << false << 13 << 14;
}

void TstSubnetsTableModel::verticalHeaderNamesTheSubnetIndex()
{
    QFETCH(bool, rfc1878);
    QFETCH(int, section);
    QFETCH(int, subnetIndex);

    SubnetsTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(IPv4AddressClass::ClassB, 4, rfc1878, false));
    const QVariant header = model.headerData(section, Qt::Vertical);
    QVERIFY(header.canConvert<int>());
    QCOMPARE(header.toInt(), subnetIndex);
    QVERIFY(!model.headerData(section, Qt::Vertical, Qt::DecorationRole).isValid());
    QVERIFY(!model.headerData(model.rowCount(), Qt::Vertical).isValid());
}

void TstSubnetsTableModel::indexOfAddress_data()
{
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("row");

    QTest::newRow("with RFC 1878 172.16.37.5 is on row 2") << true << "172.16.37.5" << 2;
    QTest::newRow("with RFC 1878 172.16.0.1 is on row 0") << true << "172.16.0.1" << 0;
    QTest::newRow("with RFC 1878 172.16.255.1 is on row 15") << true << "172.16.255.1" << 15;
    QTest::newRow("without RFC 1878 172.16.37.5 is on row 1") << false << "172.16.37.5" << 1;
    QTest::newRow("without RFC 1878 172.16.239.255 is on row 13")
        << false << "172.16.239.255" << 13;
    QTest::newRow("without RFC 1878 the zero subnet has no row") << false << "172.16.0.1" << -1;
    QTest::newRow("without RFC 1878 the all-ones subnet has no row")
        << false << "172.16.255.1" << -1;
    QTest::newRow("an address of another class has no row") << true << "10.0.0.1" << -1;
    QTest::newRow("an invalid address has no row") << true << "" << -1;
}

void TstSubnetsTableModel::indexOfAddress()
{
    QFETCH(bool, rfc1878);
    QFETCH(QString, address);
    QFETCH(int, row);

    SubnetsTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(IPv4AddressClass::ClassB, 4, rfc1878, false));
    const QModelIndex index = model.IndexOfAddress(Address(qPrintable(address)));
    QCOMPARE(index.isValid(), row >= 0);
    if (row >= 0)
    {
        QCOMPARE(index.row(), row);
        QCOMPARE(index.column(), 0);
        QCOMPARE(index.model(), &model);
    }
}

void TstSubnetsTableModel::resetAndClearResetTheViews()
{
    SubnetsTableModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.IndexOfAddress(Address("172.16.0.1")).isValid());

    model.Reset(Address("172.16.0.1"), Policy(IPv4AddressClass::ClassB, 2, false, false));
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.rowCount(), 2);

    model.Clear();
    QCOMPARE(resets.count(), 2);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.IndexOfAddress(Address("172.16.0.1")).isValid());
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    TstSubnetsTableModel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_subnetstablemodel.moc"
