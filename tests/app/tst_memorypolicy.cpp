// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/memorypolicy.h"

#include <QTest>

#include <cstdlib>
#include <malloc.h>

class TestMemoryPolicy : public QObject
{
    Q_OBJECT

private slots:
    void largeBlocksStayMappedAfterALargerOneIsFreed();
};

void TestMemoryPolicy::largeBlocksStayMappedAfterALargerOneIsFreed()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address sanitizer has an allocator of its own");
#endif
    MemoryPolicy::Apply();
    // Freeing a mapped 32 MiB block would raise the default threshold above the 2 MiB one.
    void* volatile large = std::malloc(size_t{32} * 1024 * 1024);
    std::free(large);
    const size_t mappedBefore = mallinfo2().hblks;
    void* volatile block = std::malloc(2 * MemoryPolicy::kMapThreshold);
    const size_t mappedAfter = mallinfo2().hblks;
    std::free(block);
    QCOMPARE(mappedAfter, mappedBefore + 1);
}

QTEST_APPLESS_MAIN(TestMemoryPolicy)
#include "tst_memorypolicy.moc"
