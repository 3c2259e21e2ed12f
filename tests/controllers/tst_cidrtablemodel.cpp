#include "common/testenvironment.h"

#include "controllers/cidrtablemodel.h"
#include "ipv4/ipv4cidrpolicy.h"

#include <QCoreApplication>
#include <QtTest>

class TstCidrTableModel : public QObject
{
    Q_OBJECT

private slots:
    void windowAroundTheAddress_data()
    {
        // Block /7 with /32 routes: 2^25 routes, more than the 2^24 rows a window shows.
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected"); // rows, first row's route index, address's row
        QTest::newRow("2^25 routes: index 2^23 keeps the first window") << "0.128.0.0" << "16777216 0 8388608";
        QTest::newRow("2^25 routes: index 2^23 + 1 moves it") << "0.128.0.1" << "16777216 1 8388608";
        QTest::newRow("2^25 routes: the last index") << "1.255.255.255" << "16777216 16777216 16777215";
        QTest::newRow("2^25 routes: index 2^25 - 2^23 keeps the last") << "1.128.0.0" << "16777216 16777216 8388608";
    }
    void windowAroundTheAddress()
    {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        const IPv4Address inAddress(address.toStdString(), IPv4Address::DottedDecimal);
        CidrTableModel model;
        model.Reset(inAddress, IPv4CidrPolicy(IPv4AddressBlock(quint8(7)), 25u));
        const QModelIndex index = model.IndexOfAddress(inAddress);
        QCOMPARE(QString("%1 %2 %3").arg(model.rowCount()).arg(model.headerData(0, Qt::Vertical).toLongLong()).arg(index.row()), expected);
        QCOMPARE(index.data().toString(), address);
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    RegisterIPv4MetaTypes();
    TstCidrTableModel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cidrtablemodel.moc"
