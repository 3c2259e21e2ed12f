// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/datarows.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

#include <QtTest>

#include <csignal>

// The real program, ended by a signal right after a change at start-up (the
// stored tab index -3 reopens the first page, which stores 0), quits as File >
// Exit does: normally, with the change in the settings file. Killed a second
// after the change, it has written the change already.
class TstQuitSignalHandler : public QObject
{
    Q_OBJECT

private slots:
    void quitsWithTheChangeWritten_data()
    {
        AddColumns<int, int, QProcess::ExitStatus>("signalNumber", "waitMs", "exitStatus");
        QTest::newRow("SIGTERM from a logout") << SIGTERM << 0 << QProcess::NormalExit;
        QTest::newRow("SIGINT from Ctrl+C") << SIGINT << 0 << QProcess::NormalExit;
        QTest::newRow("SIGHUP from a closed terminal") << SIGHUP << 0 << QProcess::NormalExit;
        QTest::newRow("SIGKILL a second after the change") << SIGKILL << 1000 << QProcess::CrashExit;
    }
    void quitsWithTheChangeWritten()
    {
        QFETCH(int, signalNumber);
        QFETCH(int, waitMs);
        const QString buildDir = qEnvironmentVariable("OCTETRY_BUILD_DIR");
        if (buildDir.isEmpty())
            QSKIP("OCTETRY_BUILD_DIR is not set; run through ctest");
        const QString settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quorvane/Octetry.conf";
        QVERIFY(WriteAll(settingsFile, "[General]\nTabIndex=-3\n"));

        QProcess program;
        program.start(buildDir + "/octetry");
        // Logged while the window is built, just before the stored tab is reopened.
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += program.readAllStandardError()).contains("HTTP: issuing request")
                                     || program.state() == QProcess::NotRunning,
                                 20000);
        // A pid of 0 would signal this whole process group.
        QVERIFY(program.processId() > 0);
        QTest::qWait(waitMs);
        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        QVERIFY(program.waitForFinished(20000));
        QTEST(program.exitStatus(), "exitStatus");
        if (program.exitStatus() == QProcess::NormalExit)
            QCOMPARE(program.exitCode(), 0);
        QVERIFY2(ReadAll(settingsFile).contains("TabIndex=0\n"), log);
        // The whole file: every key of the store, and nothing it cannot parse.
        const QSettings written(settingsFile, QSettings::IniFormat);
        QCOMPARE(written.status(), QSettings::NoError);
        QCOMPARE(written.childKeys().size(), OctetrySettings::SettingCount);
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    qputenv("QT_FORCE_STDERR_LOGGING", "1"); // for the program's log
    QCoreApplication app(argc, argv);
    TstQuitSignalHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_quitsignalhandler.moc"
