#include <QtTest>
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"

class TstClassesTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();

private slots:
    void initTestCase() { ui->tabWidget->setCurrentWidget(ui->classesTab); }
    void typingOrPicking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("shown"); // class, range and bit usage
        QTest::newRow("an empty address disables all but the entry, which the next row types into") << "" << "" << QStringList{"", "", ""};
        QTest::newRow("127.0.0.1 is loopback") << "127.0.0.1" << "127.0.0.1" << QStringList{"Loopback", "127.0.0.0 - 127.255.255.255", "01111111.xxxxxxxx.xxxxxxxx.xxxxxxxx"};
        QTest::newRow("picking class C clamps 10.1.2.3") << "10.1.2.3" << "192.1.2.3" << QStringList{"Class C", "192.0.0.0 - 223.255.255.255", "110nnnnn.nnnnnnnn.nnnnnnnn.hhhhhhhh"};
        QTest::newRow("picking broadcast") << "10.1.2.3" << "255.255.255.255" << QStringList{"Broadcast", "255.255.255.255", "11111111.11111111.11111111.11111111"};
    }
    void typingOrPicking()
    {
        QFETCH(QString, typed);
        QFETCH(QString, address);
        QFETCH(QStringList, shown);
        TypeOver(ui->classesAddressEdit, typed);
        if (address != typed) // the row picks its class from the list
            ui->classesComboBox->setCurrentIndex(ui->classesComboBox->findText(shown.first()));
        QCOMPARE(ui->classesAddressEdit->text(), address);
        QCOMPARE(QStringList({ui->classesComboBox->currentText(), ui->classAddressRangeEdit->text(), ui->classBitUsageEdit->toPlainText()}), shown);
        QVERIFY(ui->classBitUsageLabel->text().count("(<span") <= 1); // the legend is appended once only
        QCOMPARE(QList<bool>({ui->classesComboBox->isEnabled(), ui->classAddressRangeEdit->isEnabled(), ui->classBitUsageEdit->isEnabled()}), QList<bool>(3, !address.isEmpty()));
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstClassesTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_classestabcontroller.moc"
