#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

// Pasting into every address and notation edit: text is trimmed first and, if
// it still does not fit, refused whole; it never becomes another address.
class TstFittingValidator : public QObject
{
    Q_OBJECT
    MainForm form;
    OctetrySettings* settings = MainForm::GetSettings();

    QString StoredText(const QString& editName) const
    {
        if (editName == QLatin1String("ipv6AddressEdit"))
            return QString::fromStdString(settings->GetIPv6Address().ToString(0));
        return QString::fromStdString(settings->GetIPv4Address().ToString(IPv4Address::DottedDecimal));
    }

private slots:
    void pasting_data()
    {
        const QString cut = QString(32760, QLatin1Char(' '));
        QTest::addColumn<QString>("editName");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("stored"); // empty: the address before the paste stays
        QTest::newRow("decimal with a leading blank") << "decEdit" << " 3232235521" << "192.168.0.1";
        QTest::newRow("decimal +4294967295 is too long") << "decEdit" << "+4294967295" << "";
        QTest::newRow("decimal of eleven digits") << "decEdit" << "32322355211" << "";
        QTest::newRow("binary with a plus sign") << "binEdit" << "+110" << "";
        QTest::newRow("binary of 33 digits") << "binEdit" << QString(33, QLatin1Char('1')) << "";
        QTest::newRow("hex with a line end") << "hexEdit" << "0xc0a80001\n" << "192.168.0.1";
        QTest::newRow("dotted hex with blanks") << "dottedHexEdit" << " c0.a8.00.01 " << "192.168.0.1";
        QTest::newRow("dotted hex one digit too long") << "dottedHexEdit" << "c0.a8.00.011" << "";
        QTest::newRow("dotted binary one digit too long") << "dottedBinEdit" << "11000000.10101000.00000000.000000011" << "";
        QTest::newRow("dotted octal with a blank") << "dottedOctEdit" << " 300.250.000.001" << "192.168.0.1";
        QTest::newRow("octal with a blank") << "octEdit" << "030052000001 " << "192.168.0.1";
        QTest::newRow("dotted decimal beyond the edit's cap") << "dottedDecEdit" << cut + "192.168.0.1" << "";
        QTest::newRow("classes address with blanks") << "classesAddressEdit" << "\t192.168.0.1 \n" << "192.168.0.1";
        QTest::newRow("subnets address of 300 characters") << "subnetsAddressEdit" << "192.168.0.1" + QString(288, QLatin1Char(' ')) + "7" << "";
        QTest::newRow("CIDR address beyond the edit's cap") << "cidrAddressEdit" << cut + "192.168.0.1" << "";
        QTest::newRow("IPv6 address with a line end") << "ipv6AddressEdit" << " 2001:db8::1\n" << "2001:DB8::1";
        QTest::newRow("IPv6 address beyond the edit's cap") << "ipv6AddressEdit" << cut + "2001:db8::1" << "";
    }
    void pasting()
    {
        QFETCH(QString, editName);
        QFETCH(QString, pasted);
        QFETCH(QString, stored);
        settings->SetIPv4Address(IPv4Address(0x01020304));
        settings->SetIPv6Address(IPv6Address(std::string("1::2")));
        QLineEdit* edit = form.findChild<QLineEdit*>(editName);
        const QString before = edit->text().trimmed();
        const QString storedBefore = StoredText(editName);

        QApplication::clipboard()->setText(pasted);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);

        QCOMPARE(StoredText(editName), stored.isEmpty() ? storedBefore : stored);
        QCOMPARE(edit->text().trimmed(), stored.isEmpty() ? before : pasted.trimmed());
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstFittingValidator test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fittingvalidator.moc"
