// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

// The Classes page: the class of the typed address, or of the one picked from the list.
class TstClassesTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();

private slots:
    void classesPage_data()
    {
        // shown: address | class | range | bit usage | how many of class, range and bit usage are enabled
        AddColumns<QString, QString>("typed", "shown");
        // clang-format off
        QTest::newRow("an empty address disables all but the entry") << "" << "||||0";
        QTest::newRow("127.0.0.1 is loopback") << "127.0.0.1" << "127.0.0.1|Loopback|127.0.0.0 - 127.255.255.255|01111111.xxxxxxxx.xxxxxxxx.xxxxxxxx|3";
        QTest::newRow("picking class C clamps 10.1.2.3") << "10.1.2.3" << "192.1.2.3|Class C|192.0.0.0 - 223.255.255.255|110nnnnn.nnnnnnnn.nnnnnnnn.hhhhhhhh|3";
        QTest::newRow("picking Broadcast gives 255.255.255.255") << "10.1.2.3" << "255.255.255.255|Broadcast|255.255.255.255|11111111.11111111.11111111.11111111|3";
        // clang-format on
    }
    void classesPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        ui->tabWidget->setCurrentWidget(ui->classesTab);
        TypeOver(ui->classesAddressEdit, typed);
        if (!shown.startsWith(typed + '|')) // the row picks its class from the list
            ui->classesComboBox->setCurrentIndex(ui->classesComboBox->findText(shown.section('|', 1, 1)));
        const int enabled = ui->classesComboBox->isEnabled() + ui->classAddressRangeEdit->isEnabled()
                            + ui->classBitUsageEdit->isEnabled();
        QCOMPARE(QStringList({ui->classesAddressEdit->text(), ui->classesComboBox->currentText(),
                              ui->classAddressRangeEdit->text(), ui->classBitUsageEdit->toPlainText(),
                              QString::number(enabled)})
                     .join('|'),
                 shown);
        QVERIFY(ui->classBitUsageLabel->text().count("(<span") <= 1); // the legend is appended once only
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstClassesTabController)
#include "tst_classestabcontroller.moc"
