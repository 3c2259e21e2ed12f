// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/countedlock.h"
#include "controllers/qtutil.h"

#include <QTest>

// Counts its hooks.
struct HookCounter : CountedLock
{
    void OnLock() override { ++locks; }
    void OnUnlock() override { ++unlocks; }
    int locks = 0, unlocks = 0;
};

class TstCountedLock : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheOutermostPairRunsTheHooks()
    {
        HookCounter lock;
        // The count, the hooks run (locks, unlocks) and whether it is held.
        auto state = [&lock] { return std::tuple(lock.GetCount(), lock.locks, lock.unlocks, lock.IsLocked()); };
        lock.Lock(), lock.Lock(), lock.Unlock();
        QCOMPARE(state(), std::tuple(1u, 1, 0, true));
        lock.Unlock();
        QCOMPARE(state(), std::tuple(0u, 1, 1, false));
        lock.Unlock(), lock.Unlock(); // unmatched calls change nothing
        QCOMPARE(state(), std::tuple(0u, 1, 1, false));
        lock.Lock();
        QCOMPARE(state(), std::tuple(1u, 2, 1, true));
    }

    // An assigned handle gives up its object and shares the other's; the last handle unblocks.
    void signalBlockersShareTheirLock()
    {
        using QtUtil::SignalBlocker;
        QObject first, second;
        {
            SignalBlocker a(new SignalBlocker::SignalLock(&first)), b(new SignalBlocker::SignalLock(&second));
            a = b;
            QVERIFY(!first.signalsBlocked() && second.signalsBlocked());
            a = a;
            QVERIFY(second.signalsBlocked());
        }
        QVERIFY(!second.signalsBlocked());
    }
};

QTEST_GUILESS_MAIN(TstCountedLock)
#include "tst_countedlock.moc"
