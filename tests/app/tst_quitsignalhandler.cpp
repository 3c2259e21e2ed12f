// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/datarows.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

#include <QtTest>

#include <csignal>

// Starts the real program (ctest names its folder) with the quit signals' default action, whatever this process
// inherited.
static void Start(QProcess& program)
{
    program.setChildProcessModifier([] {
        for (const int number : {SIGINT, SIGTERM, SIGHUP})
            ::signal(number, SIG_DFL);
    });
    program.start(qEnvironmentVariable("OCTETRY_BUILD_DIR") + "/octetry");
}

class TstQuitSignalHandler : public QObject
{
    Q_OBJECT
    const QString m_settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quorvane/Octetry.conf";

private slots:
    // Once the program has written a change made at start (the stored tab -3 reopens the first page, which
    // stores 0), its file is deleted: each way of ending writes it again whole, as File > Exit does.
    void endingWritesTheSettings_data()
    {
        AddColumns<int, int>("signalNumber", "exitCode"); // signal 0: the display goes away
        QTest::newRow("SIGTERM from a logout") << SIGTERM << 0;
        QTest::newRow("SIGINT from Ctrl+C") << SIGINT << 0;
        QTest::newRow("SIGHUP from a closed terminal") << SIGHUP << 0;
        QTest::newRow("the X server dies: the toolkit calls exit(1)") << 0 << 1;
    }
    void endingWritesTheSettings()
    {
        QFETCH(int, signalNumber);
        QProcess display;
        if (signalNumber == 0) {
            display.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "800x600x24"});
            QVERIFY2(display.waitForReadyRead(20000), "Xvfb (Debian's xvfb, which the set-up installs) did not start");
            qputenv("DISPLAY", ":" + display.readAll().trimmed()), qputenv("QT_QPA_PLATFORM", "xcb");
        }
        QVERIFY(WriteAll(m_settingsFile, "[General]\nTabIndex=-3\n"));
        QProcess program;
        Start(program);
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(m_settingsFile).contains("TabIndex=0"), 20000);
        QVERIFY(QFile::remove(m_settingsFile));
        signalNumber ? void(::kill(static_cast<pid_t>(program.processId()), signalNumber)) : display.kill();
        QVERIFY(program.waitForFinished(20000));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QTEST(program.exitCode(), "exitCode");
        const QSettings written(m_settingsFile, QSettings::IniFormat);
        QCOMPARE(written.status(), QSettings::NoError);
        QCOMPARE(written.childKeys().size(), OctetrySettings::SettingCount);
    }

    // At any moment of the first 0.6 s a signal is the default end (before the handler exists) or a clean
    // quit, never an abort or a crash.
    void signalsAtStart()
    {
        QRandomGenerator random(27);
        for (int run = 0; run < 12; ++run) {
            const int number = std::array{SIGTERM, SIGINT, SIGHUP}[run % 3];
            QProcess program;
            Start(program);
            QTest::qWait(random.bounded(600));
            ::kill(static_cast<pid_t>(program.processId()), number); // a crash's code is its signal
            QVERIFY(program.waitForFinished(20000));
            QCOMPARE(program.exitCode(), program.exitStatus() == QProcess::CrashExit ? number : 0);
        }
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    TstQuitSignalHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_quitsignalhandler.moc"
