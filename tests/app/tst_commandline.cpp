// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/ipv4address.h"
#include "common/datarows.h"
#include "common/testenvironment.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QtTest>

#include <csignal>

// The real program's command line, run as a user runs it.
class TstCommandLine : public QObject
{
    Q_OBJECT
    const QString m_settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quorvane/Octetry.conf";
    const QString m_program = qEnvironmentVariable("OCTETRY_BUILD_DIR") + "/octetry";

private slots:
    // Help, version and refusals print and exit without opening a window; error holds the start of stderr.
    void printsAndExits_data()
    {
        AddColumns<QStringList, int, QString, QString>("arguments", "exitCode", "output", "error");
        // clang-format off
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "octetry 2001:db8:1200::/40  " << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << QString("Octetry 1.0.0.0 (Qt %1)\n").arg(qVersion()) << "";
        QTest::newRow("an unknown option") << QStringList{"--bogus"} << 2 << "" << "octetry: Unknown option 'bogus'.\nUsage: ";
        QTest::newRow("a host name") << QStringList{"example.org"} << 2 << "" << "octetry: \"example.org\" is no IPv4 or IPv6 address or prefix\nUsage: ";
        QTest::newRow("two addresses") << QStringList{"10.1.2.3", "10.1.2.4"} << 2 << "" << "octetry: one address at most, not 2\n";
        // clang-format on
    }
    void printsAndExits()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QProcess program;
        program.start(m_program, arguments);
        QVERIFY(program.waitForFinished(20000));
        QTEST(program.exitCode(), "exitCode");
        const QString printed = program.readAllStandardOutput(), complaint = program.readAllStandardError();
        QVERIFY(output.isEmpty() ? printed.isEmpty() : printed.contains(output));
        QVERIFY(complaint.contains(error) && (error.isEmpty() || complaint.endsWith("for more.\n")));
        QVERIFY(!QFile::exists(m_settingsFile));
    }

    // An address opens the page that fits it, applied as if typed.
    void opensOnTheAddress_data()
    {
        AddColumns<QString, QString, QString>("argument", "tab", "address"); // address: and the subnet mask
        // clang-format off
        QTest::newRow("IPv4 address") << "192.0.2.1" << "TabIndex=0" << "192.0.2.1 /25"; // class C's first mask
        QTest::newRow("IPv4 prefix") << "10.1.2.3 255.255.255.0" << "TabIndex=2" << "10.1.2.3 /24";
        QTest::newRow("IPv6 address") << "2001:db8::1" << "TabIndex=4" << "";
        QTest::newRow("IPv6 prefix") << "2001:db8:1200::/40" << "IPv6PrefixLength=40" << "";
        // clang-format on
    }
    void opensOnTheAddress()
    {
        QFETCH(QString, tab); // what the settings file holds once the page is open
        QFile::remove(m_settingsFile);
        QProcess program;
        QFETCH(QString, argument);
        program.start(m_program, {argument});
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(m_settingsFile).contains(tab.toLatin1()), 20000);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), 0);
        QFETCH(QString, address);
        const QSettings written(m_settingsFile, QSettings::IniFormat);
        quint8 maskBits = 0, subnetBits = 0, hostBits = 0;
        written.value("SubnetPolicy").value<IPv4SubnetPolicy>().GetBitCounts(maskBits, subnetBits, hostBits);
        const IPv4Address stored = written.value("IPv4Address").value<IPv4Address>();
        const QString shown = QString::fromStdString(stored.ToString(IPv4Address::DottedDecimal));
        QVERIFY(address.isEmpty() || QString("%1 /%2").arg(shown).arg(maskBits) == address);
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    qRegisterMetaType<IPv4Address>();
    qRegisterMetaType<IPv4SubnetPolicy>();
    TstCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commandline.moc"
