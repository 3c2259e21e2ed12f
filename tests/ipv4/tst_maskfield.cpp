// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Every split of the 32 bits against a reference that counts (prefix start plus index times part size), not masks.

#include "common/datarows.h"
#include "common/exceptionmessage.h"
#include "ipv4/maskfield.h"

#include <QTest>

#include <random>

class TstMaskField : public QObject
{
    Q_OBJECT

private slots:
    void arithmetic_data()
    {
        AddColumns<quint32, quint32>("prefixBits", "fieldBits");
        for (quint32 prefixBits = 0; prefixBits <= 32; ++prefixBits)
            for (quint32 fieldBits = 0; prefixBits + fieldBits <= 32; ++fieldBits)
                QTest::addRow("/%u + %u", prefixBits, fieldBits) << prefixBits << fieldBits;
    }
    void arithmetic()
    {
        QFETCH(quint32, prefixBits);
        QFETCH(quint32, fieldBits);
        const MaskField field(prefixBits, fieldBits);
        const quint32 hostBits = 32 - prefixBits - fieldBits;
        const quint64 partSize = 1ull << hostBits, partCount = 1ull << fieldBits, prefixSize = partSize << fieldBits;
        quint8 maskBits = 0, countedField = 0, countedHost = 0;
        field.GetBitCounts(maskBits, countedField, countedHost);
        QCOMPARE(
            QList<quint64>({field.GetPrefixBits(), field.GetFieldBits(), field.GetHostBits(), maskBits, countedField,
                            countedHost, field.GetMask().GetValue(), field.GetPartCount(), field.GetPartSize()}),
            QList<quint64>({prefixBits, fieldBits, hostBits, prefixBits + fieldBits, fieldBits, hostBits,
                            (1ull << 32) - partSize, partCount % (1ull << 32), partSize % (1ull << 32)}));
        std::mt19937 random(prefixBits * 33 + fieldBits);
        for (const quint32 value : {0u, 0xffffffffu, static_cast<quint32>(random()), static_cast<quint32>(random())}) {
            const IPv4Address address(value);
            const quint64 start = value - value % prefixSize, own = (value - start) / partSize;
            QCOMPARE(static_cast<quint64>(field.GetPartIndex(address)), own);
            const auto range = [&](quint64 index) {
                IPv4Address first, last;
                field.GetPartRange(address, static_cast<quint32>(index), "nIndex", first, last);
                return QList<quint64>({first.GetValue(), last.GetValue()});
            };
            for (const quint64 index : {static_cast<quint64>(0), partCount - 1, own, random() % partCount})
                QCOMPARE(range(index), QList<quint64>({start + index * partSize, start + (index + 1) * partSize - 1}));
            if (fieldBits < 32)
                QCOMPARE(ThrownMessage<std::out_of_range>([&] { range(partCount); }), QString("nIndex"));
        }
    }
};

QTEST_APPLESS_MAIN(TstMaskField)
#include "tst_maskfield.moc"
