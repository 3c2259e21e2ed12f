#include <QMessageBox>
#include <QtTest>
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"

class TstIPv4TabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    static QString Stored() { return QString::fromStdString(OctetrySettings::Instance()->GetIPv4Address().ToString(IPv4Address::DottedDecimal)); }

private slots:
    void init() { ui->tabWidget->setCurrentWidget(ui->classesTab); }
    void leavingTheEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("warning");
        QTest::newRow("300.1.2.3 is refused without a lookup") << "300.1.2.3" << "" << "";
        QTest::newRow("10.0.0 gives 10.0.0.0") << "10.0.0" << "10.0.0.0" << "";
        QTest::newRow("localhost resolves to 127.0.0.1") << "localhost" << "127.0.0.1" << "";
        QTest::newRow("a failed lookup warns") << "no-such-host.invalid" << "" << "IPv4 Resolve Failed";
    }
    void leavingTheEdit()
    {
        QString warning;
        QTimer closer; // closes the warning box and keeps its title
        connect(&closer, &QTimer::timeout, [&] { if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) warning = box->windowTitle(), box->close(); });
        closer.start(20);
        QFETCH(QString, typed);
        TypeOver(ui->classesAddressEdit, typed);
        QTest::keyClick(ui->classesAddressEdit, Qt::Key_Return);
        QTEST(warning, "warning");
        QTEST(Stored(), "stored");
        QCOMPARE(ui->classesAddressEdit->text(), Stored().isEmpty() ? typed : Stored()); // canonical on leaving
    }
    void systemAddressEntryRewritesItsOwnEdit()
    {
        const QList<QAction*> entries = ui->classesAddressToolButton->menu()->actions();
        if (entries.isEmpty())
            QSKIP("this machine has no IPv4 interface address besides 127.0.0.1");
        entries.first()->trigger(); // the edit still shows the failed host name
        QCOMPARE(ui->classesAddressEdit->text(), entries.first()->text());
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstIPv4TabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ipv4tabcontroller.moc"
