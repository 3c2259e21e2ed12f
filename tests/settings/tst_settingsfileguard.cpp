// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/brandingutil.h"
#include "common/testenvironment.h"
#include "settings/settingsfileguard.h"

#include <QtTest>

#include <sys/stat.h>

class TstSettingsFileGuard : public QObject
{
    Q_OBJECT
    using G = SettingsFileGuard;
    QString m_path;

private slots:
    void initTestCase()
    {
        BrandingUtil::SetApplicationIdentity();
        QCOMPARE(m_path = G::UserFilePath(), QSettings().fileName()); // where QSettings reads
    }

    void unreadableFilesAreSetAside_data()
    {
        QTest::addColumn<QVariant>("value"); // written by QSettings; invalid: a FIFO; a byte array: the raw file
        QTest::addColumn<int>("problem");
        QTest::newRow("ours; @@") << QVariant(QByteArray("A=@Variant(\\0\\0\\0\\x7f)\n@@Variant(\\0\\0\\0\\t")) << 0;
        QTest::newRow("a FIFO") << QVariant() << int(G::NotRegularFile);
        QTest::newRow("over 64 KiB") << QVariant(QByteArray(G::kMaxFileSize + 1, '#')) << int(G::TooLarge);
        QTest::newRow("a list in a list") << QVariant(QVariantList{QVariantList{1}}) << int(G::TooDeeplyNested);
        QTest::newRow("a hash, type \\x1c") << QVariant(QVariantHash{{"a", 1}}) << int(G::TooDeeplyNested);
    }
    void unreadableFilesAreSetAside()
    {
        QFETCH(QVariant, value);
        QFETCH(int, problem);
        const QString aside = m_path + ".unreadable-2026-12-08";
        QVERIFY(WriteAll(aside, "an earlier one")); // kept: the new one gets a number
        if (!value.isValid())
            QCOMPARE(::mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
        else if (value.typeId() == QMetaType::QByteArray)
            QVERIFY(WriteAll(m_path, value.toByteArray()));
        else
            QSettings().setValue("TabIndex", value);
        QCOMPARE(int(G::Inspect(m_path)), problem);
        const QString told = G::SetAsideUnreadable(QDate(2026, 12, 8));
        QCOMPARE(QFileInfo::exists(m_path), problem == G::NoProblem);
        QCOMPARE(told.contains(" has been renamed to " + aside + "-2,"), problem != G::NoProblem);
        QCOMPARE(ReadAll(aside), "an earlier one");
        QCOMPARE(G::SetAsideUnreadable(QDate(2026, 12, 8)), QString()); // said once
        QDir(QFileInfo(m_path).absolutePath()).removeRecursively();
    }
};

const TestEnvironment environment;
QTEST_GUILESS_MAIN(TstSettingsFileGuard)

#include "tst_settingsfileguard.moc"
