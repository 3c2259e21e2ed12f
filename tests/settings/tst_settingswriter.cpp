// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/testenvironment.h"
#include "settings/settingswriter.h"

#include <QtTest>

class TstSettingsWriter : public QObject
{
    Q_OBJECT

    const QTemporaryDir m_dir; // no user file is touched

private slots:
    void lastOfBurstWritten_data()
    {
        QTest::addColumn<bool>("flush");
        QTest::newRow("Flush writes and returns once written") << true;
        QTest::newRow("the destructor writes what is pending") << false;
    }
    void lastOfBurstWritten()
    {
        QFETCH(bool, flush);
        const QString path = m_dir.filePath(flush ? "flush.ini" : "destructor.ini");
        const QByteArray last = "[General]\na=3\n";
        {
            SettingsWriter writer(QSettings(path, QSettings::IniFormat));
            writer.Flush(); // nothing queued: returns at once
            // Changes 50 ms apart are one burst, written a while after it: only its last values.
            writer.Queue({{"a", 1}, {"b", 1}});
            QTest::qWait(50);
            writer.Queue({{"a", 2}});
            QTest::qWait(50);
            writer.Queue({{"a", 3}});
            QVERIFY(writer.IsBusy() && !QFile::exists(path));
            if (flush) {
                writer.Flush();
                QVERIFY(!writer.IsBusy());
                QCOMPARE(ReadAll(path), last);
            }
        }
        QCOMPARE(ReadAll(path), last);
    }
};

QTEST_GUILESS_MAIN(TstSettingsWriter)

#include "tst_settingswriter.moc"
