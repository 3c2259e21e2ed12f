// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/datarows.h"
#include "widgets/fittingvalidator.h"
#include "widgets/ipv4addressvalidator.h"
#include "widgets/uint32validator.h"

#include <QLineEdit>
#include <QTest>

class TstValidators : public QObject
{
    Q_OBJECT

private slots:
    // Each takes exactly its texts, trimmed first; "fitting" limits a radix-10 UInt32Validator to 10 characters.
    void validate_data()
    {
        // accepted: the trimmed text; empty when refused
        AddColumns<QString, quint32, QString, QString>("kind", "radix", "input", "accepted");
        const auto row = [](const char* kind, quint32 radix, const QString& input, const char* accepted) {
            QTest::addRow("%s %u '%s'", kind, radix, qPrintable(input.left(20))) << kind << radix << input << accepted;
        };
        row("address", 10, " 10.0.0.1 ", "10.0.0.1");
        row("address", 16, "aC.10..FF", "aC.10..FF");
        for (const char* refused : {"ac.1g", "1.\u0663"})
            row("address", 16, refused, "");
        row("address", 2, "1.0.2", "");
        row("uint32", 10, "4294967295", "4294967295");
        row("uint32", 16, " FFFFFFFF", "FFFFFFFF");
        for (const char* refused : {"4294967296", "-1", "12a"})
            row("uint32", 10, refused, "");
        row("uint32", 16, "100000000", "");
        row("uint32", 2, "12", "");
        row("fitting", 10, " 3232235521 ", "3232235521");
        for (const QString& refused : {QString("32322355211"), QString("12a"), QString(32767, QLatin1Char('1'))})
            row("fitting", 10, refused, "");
    }
    void validate()
    {
        QFETCH(QString, kind);
        QFETCH(quint32, radix);
        QFETCH(QString, input);
        QLineEdit edit;
        const QValidator* validator = kind == "address"
                                          ? static_cast<QValidator*>(new IPv4AddressValidator(radix, &edit))
                                          : new UInt32Validator(radix, &edit);
        if (kind == "fitting") {
            edit.setValidator(validator);
            validator = FittingValidator::Install(&edit, 10);
            QCOMPARE(edit.maxLength(), 32767); // the edit no longer cuts a paste short
        }
        int pos = static_cast<int>(input.size());
        const bool acceptable = validator->validate(input, pos) == QValidator::Acceptable;
        QTEST(acceptable ? input : QString(), "accepted");
    }

    void trimMovesThePositionWithTheText()
    {
        QString text = "  1.2  ", leading = "  x";
        int pos = 3, atStart = 0;
        FittingValidator::Trim(text, pos);
        FittingValidator::Trim(leading, atStart);
        QCOMPARE(text, "1.2");
        QCOMPARE(pos, 1);
        QCOMPARE(atStart, 0);
    }
};

QTEST_MAIN(TstValidators)
#include "tst_validators.moc"
