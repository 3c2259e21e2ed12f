#include "controllers/countedlock.h"
#include "controllers/qtutil.h"

#include <QTest>

// Counts its hooks.
struct HookCounter : CountedLock
{
    void OnLock() override { ++locks; }
    void OnUnlock() override { ++unlocks; }
    int locks = 0;
    int unlocks = 0;
};

class TstCountedLock : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheOutermostPairRunsTheHooks()
    {
        HookCounter lock;
        lock.Lock();
        lock.Lock();
        lock.Unlock();
        QCOMPARE(lock.GetCount(), 1u);
        QVERIFY(lock.IsLocked());
        QCOMPARE(lock.unlocks, 0);
        lock.Unlock();
        QCOMPARE(lock.locks, 1);
        QCOMPARE(lock.unlocks, 1);
        // Unmatched calls change nothing.
        lock.Unlock();
        lock.Unlock();
        QCOMPARE(lock.unlocks, 1);
        QCOMPARE(lock.GetCount(), 0u);
        lock.Lock();
        QCOMPARE(lock.locks, 2);
        QCOMPARE(lock.GetCount(), 1u);
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
