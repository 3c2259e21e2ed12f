#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

// The Classes page as the user reads it; enabled counts the class list, the range and the bit usage.
struct ClassesPage
{
    QString address, addressClass, range, bitUsage;
    int enabled = 0;
    bool operator==(const ClassesPage&) const = default;
};
char* toString(const ClassesPage& p)
{
    return QTest::toString(QString("address %1, class %2, range %3, bit usage %4, %5 of 3 enabled")
                               .arg(p.address, p.addressClass, p.range, p.bitUsage)
                               .arg(p.enabled));
}

// The Classes page: the class of the typed address, or of the one picked from the list.
class TstClassesTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();

private slots:
    void classesPage_data()
    {
        AddColumns<QString, ClassesPage>("typed", "shown");
        // clang-format off
        QTest::newRow("an empty address disables all but the entry") << "" << ClassesPage{};
        QTest::newRow("127.0.0.1 is loopback") << "127.0.0.1" << ClassesPage{"127.0.0.1", "Loopback", "127.0.0.0 - 127.255.255.255", "01111111.xxxxxxxx.xxxxxxxx.xxxxxxxx", 3};
        QTest::newRow("picking class C clamps 10.1.2.3") << "10.1.2.3" << ClassesPage{"192.1.2.3", "Class C", "192.0.0.0 - 223.255.255.255", "110nnnnn.nnnnnnnn.nnnnnnnn.hhhhhhhh", 3};
        QTest::newRow("picking Broadcast gives 255.255.255.255") << "10.1.2.3" << ClassesPage{"255.255.255.255", "Broadcast", "255.255.255.255", "11111111.11111111.11111111.11111111", 3};
        // clang-format on
    }
    void classesPage()
    {
        QFETCH(QString, typed);
        QFETCH(ClassesPage, shown);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        if (shown.address != typed) // the row picks its class from the list
            ui->classesComboBox->setCurrentIndex(ui->classesComboBox->findText(shown.addressClass));
        const ClassesPage page{ui->classesAddressEdit->text(), ui->classesComboBox->currentText(),
                               ui->classAddressRangeEdit->text(), ui->classBitUsageEdit->toPlainText(),
                               ui->classesComboBox->isEnabled() + ui->classAddressRangeEdit->isEnabled()
                                   + ui->classBitUsageEdit->isEnabled()};
        QCOMPARE(page, shown);
        QVERIFY(ui->classBitUsageLabel->text().count("(<span") <= 1); // the legend is appended once only
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstClassesTabController)
#include "tst_classestabcontroller.moc"
