#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "controllers/cidrtablemodel.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace
{
IPv4Address Address(const char* text)
{
    return IPv4Address(text, IPv4Address::DottedDecimal);
}

IPv4CidrPolicy Policy(quint8 blockBits, quint32 cidrBits)
{
    return IPv4CidrPolicy(IPv4AddressBlock(blockBits), cidrBits);
}

QString Cell(const CidrTableModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

qlonglong RowHeader(const CidrTableModel& model, int row)
{
    return model.headerData(row, Qt::Vertical).toLongLong();
}
} // namespace

class TstCidrTableModel : public QObject
{
    Q_OBJECT

private slots:
    void emptyModelShowsNothing();
    void cells_data();
    void cells();
    void horizontalHeaders();
    void cellsAreCentred();
    void outOfRangeIndexesGiveNothing();
    void window_data();
    void window();
    void indexOfAddressOutsideTheWindow();
    void resetAndClearResetTheModel();
    void passesTheModelTester();
};

void TstCidrTableModel::emptyModelShowsNothing()
{
    CidrTableModel model;
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 2);
    QVERIFY(!model.IndexOfAddress(Address("10.0.0.1")).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());

    // A policy without an address has no block to divide.
    model.Reset(IPv4Address(), Policy(16, 4));
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.data(model.index(0, 0)).isValid());
}

void TstCidrTableModel::cells_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("blockBits");
    QTest::addColumn<int>("cidrBits");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("range");

    QTest::newRow("block /16 mask /20, first route")
        << "172.16.0.1" << 16 << 4 << 16 << 0 << "172.16.0.0" << "172.16.0.0 - 172.16.15.255";
    QTest::newRow("block /16 mask /20, last route")
        << "172.16.0.1" << 16 << 4 << 16 << 15 << "172.16.240.0" << "172.16.240.0 - 172.16.255.255";
    QTest::newRow("block /8 mask /12, route 12")
        << "10.200.3.4" << 8 << 4 << 16 << 12 << "10.192.0.0" << "10.192.0.0 - 10.207.255.255";
    QTest::newRow("block /24 mask /32, single address")
        << "192.168.1.7" << 24 << 8 << 256 << 200 << "192.168.1.200" << "N/A";
    QTest::newRow("block /30 mask /31, pair")
        << "192.168.1.7" << 30 << 1 << 2 << 1 << "192.168.1.6" << "192.168.1.6 - 192.168.1.7";
    QTest::newRow("block /1 mask /2, upper half")
        << "200.1.2.3" << 1 << 1 << 2 << 1 << "192.0.0.0" << "192.0.0.0 - 255.255.255.255";
}

void TstCidrTableModel::cells()
{
    QFETCH(QString, address);
    QFETCH(int, blockBits);
    QFETCH(int, cidrBits);
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(QString, route);
    QFETCH(QString, range);

    CidrTableModel model;
    model.Reset(Address(qPrintable(address)), Policy(quint8(blockBits), quint32(cidrBits)));
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(Cell(model, row, 0), route);
    QCOMPARE(Cell(model, row, 1), range);
    QCOMPARE(RowHeader(model, row), qlonglong(row));
}

void TstCidrTableModel::horizontalHeaders()
{
    CidrTableModel model;
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Route"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Address Range"));
    QVERIFY(!model.headerData(2, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());

    model.Reset(Address("172.16.0.1"), Policy(16, 4));
    QVERIFY(!model.headerData(3, Qt::Vertical, Qt::TextAlignmentRole).isValid());
    QVERIFY(!model.headerData(16, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(-1, Qt::Vertical).isValid());
}

void TstCidrTableModel::cellsAreCentred()
{
    CidrTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(16, 4));
    for (int column = 0; column < 2; ++column)
        QCOMPARE(model.data(model.index(5, column), Qt::TextAlignmentRole).toInt(), 132);
    QVERIFY(!model.data(model.index(5, 0), Qt::ToolTipRole).isValid());
}

void TstCidrTableModel::outOfRangeIndexesGiveNothing()
{
    CidrTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(16, 4));
    QVERIFY(!model.data(QModelIndex()).isValid());
    QVERIFY(!model.data(model.index(16, 0)).isValid());
    QVERIFY(!model.data(model.index(0, 2)).isValid());

    // An index of another model, even at a row this one has.
    QStandardItemModel other(4, 4);
    QVERIFY(!model.data(other.index(1, 1)).isValid());
}

void TstCidrTableModel::window_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("blockBits");
    QTest::addColumn<int>("cidrBits");
    QTest::addColumn<int>("rows");
    QTest::addColumn<qlonglong>("firstIndex");
    QTest::addColumn<int>("addressRow");

    const int cap = 16777216;
    QTest::newRow("2^24 routes fit whole")
        << "10.255.255.255" << 8 << 24 << cap << 0LL << cap - 1;
    QTest::newRow("block /1 mask /32, 0.0.1.0 at the start")
        << "0.0.1.0" << 1 << 31 << cap << 0LL << 256;
    QTest::newRow("block /1 mask /32, 172.16.0.1 in the middle")
        << "172.16.0.1" << 1 << 31 << cap << 730857473LL << 8388608;
    QTest::newRow("block /1 mask /32, 255.255.255.254 at the end")
        << "255.255.255.254" << 1 << 31 << cap << 2130706432LL << 16777214;
    // Block /7 with 25 CIDR bits: 2^25 routes of one address, index = low 25 bits.
    QTest::newRow("2^25 routes, index 2^23 - 1 stays in the first window")
        << "0.127.255.255" << 7 << 25 << cap << 0LL << 8388607;
    QTest::newRow("2^25 routes, index 2^23 starts the window at 0")
        << "0.128.0.0" << 7 << 25 << cap << 0LL << 8388608;
    QTest::newRow("2^25 routes, index 2^23 + 1 moves the window")
        << "0.128.0.1" << 7 << 25 << cap << 1LL << 8388608;
    QTest::newRow("2^25 routes, last index centred before the end")
        << "1.127.255.255" << 7 << 25 << cap << 16777215LL << 8388608;
    QTest::newRow("2^25 routes, index 2^25 - 2^23 keeps the last window")
        << "1.128.0.0" << 7 << 25 << cap << 16777216LL << 8388608;
    QTest::newRow("2^25 routes, last index")
        << "1.255.255.255" << 7 << 25 << cap << 16777216LL << cap - 1;
}

void TstCidrTableModel::window()
{
    QFETCH(QString, address);
    QFETCH(int, blockBits);
    QFETCH(int, cidrBits);
    QFETCH(int, rows);
    QFETCH(qlonglong, firstIndex);
    QFETCH(int, addressRow);

    const IPv4Address inAddress = Address(qPrintable(address));
    const IPv4CidrPolicy policy = Policy(quint8(blockBits), quint32(cidrBits));
    CidrTableModel model;
    model.Reset(inAddress, policy);

    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(RowHeader(model, 0), firstIndex);
    QCOMPARE(RowHeader(model, rows - 1), firstIndex + rows - 1);
    const QModelIndex index = model.IndexOfAddress(inAddress);
    QCOMPARE(index.row(), addressRow);
    QCOMPARE(index.column(), 0);
    // The row shows the address's own route, and the window's last row is still a route.
    QCOMPARE(Cell(model, addressRow, 0), address);
    QVERIFY(model.data(model.index(rows - 1, 0)).isValid());
}

void TstCidrTableModel::indexOfAddressOutsideTheWindow()
{
    CidrTableModel model;
    model.Reset(Address("172.16.0.1"), Policy(1, 31));
    // Same block, but its route lies beyond the rows shown around 172.16.0.1.
    QVERIFY(!model.IndexOfAddress(Address("0.0.0.1")).isValid());
    QVERIFY(!model.IndexOfAddress(Address("127.255.255.255")).isValid());
    QVERIFY(!model.IndexOfAddress(IPv4Address()).isValid());
    QCOMPARE(model.IndexOfAddress(Address("172.16.0.2")).row(), 8388609);
}

void TstCidrTableModel::resetAndClearResetTheModel()
{
    CidrTableModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    model.Reset(Address("172.16.0.1"), Policy(16, 4));
    QCOMPARE(resets.count(), 1);
    model.Clear();
    QCOMPARE(resets.count(), 2);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.data(model.index(0, 0)).isValid());
    QVERIFY(!model.IndexOfAddress(Address("172.16.0.1")).isValid());
}

void TstCidrTableModel::passesTheModelTester()
{
    CidrTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.Reset(Address("192.168.1.7"), Policy(24, 4));
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    model.Clear();
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    RegisterIPv4MetaTypes();
    TstCidrTableModel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cidrtablemodel.moc"
