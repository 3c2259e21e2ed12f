#include "widgets/fittingvalidator.h"
#include "widgets/ipv4addressvalidator.h"
#include "widgets/uint32validator.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

class TstValidators : public QObject
{
    Q_OBJECT

private slots:
    // Each validator takes exactly its texts, trimmed first; "fitting" is a limit of 10 over a radix-10
    // UInt32Validator.
    void validate_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<quint32>("radix");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("acceptable");
        QTest::addColumn<QString>("kept");
        const auto row = [](const char* kind, quint32 radix, const QString& input, bool acceptable, const char* kept) {
            QTest::addRow("%s %u '%s'", kind, radix, qPrintable(input)) << kind << radix << input << acceptable << kept;
        };
        row("address", 10, " 10.0.0.1 ", true, "10.0.0.1");
        row("address", 16, "aC.10..FF", true, "aC.10..FF");
        row("address", 16, "ac.1g", false, "ac.1g");
        row("address", 2, "1.0.2", false, "1.0.2");
        row("address", 8, "7.8", false, "7.8");
        row("address", 10, QString::fromUtf8("1.\u0663"), false, "1.\u0663");
        row("uint32", 10, "4294967295", true, "4294967295");
        row("uint32", 10, "4294967296", false, "4294967296");
        row("uint32", 16, " FFFFFFFF", true, "FFFFFFFF");
        row("uint32", 16, "100000000", false, "100000000");
        row("uint32", 2, "12", false, "12");
        row("uint32", 10, "-1", false, "-1");
        row("fitting", 10, " 3232235521 ", true, "3232235521");
        row("fitting", 10, "32322355211", false, "32322355211");
        row("fitting", 10, "12a", false, "12a");
        row("fitting", 10, QString(32767, QLatin1Char('1')), false, "");
    }
    void validate()
    {
        QFETCH(QString, kind);
        QFETCH(quint32, radix);
        QFETCH(QString, input);
        QFETCH(bool, acceptable);
        QFETCH(QString, kept);
        QLineEdit edit;
        std::unique_ptr<QValidator> owned;
        const QValidator* validator = nullptr;
        if (kind == "address") {
            owned = std::make_unique<IPv4AddressValidator>(radix, nullptr);
            validator = owned.get();
        } else if (kind == "uint32") {
            owned = std::make_unique<UInt32Validator>(radix, nullptr);
            validator = owned.get();
        } else {
            edit.setValidator(new UInt32Validator(radix, &edit));
            validator = FittingValidator::Install(&edit, 10);
            QCOMPARE(edit.maxLength(), 32767); // the edit no longer cuts a paste short
        }
        int pos = static_cast<int>(input.size());
        QString text = input;
        QCOMPARE(validator->validate(text, pos) == QValidator::Acceptable, acceptable);
        if (!kept.isEmpty())
            QCOMPARE(text, kept);
    }

    void trimMovesThePositionWithTheText()
    {
        QString text = "  1.2  ";
        int pos = 3;
        FittingValidator::Trim(text, pos);
        QCOMPARE(text, QString("1.2"));
        QCOMPARE(pos, 1);
        pos = 0;
        text = "  x";
        FittingValidator::Trim(text, pos);
        QCOMPARE(pos, 0);
    }
};

QTEST_MAIN(TstValidators)
#include "tst_validators.moc"
