// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Counts against a slow reference: binary digits turned into decimal by doubling a decimal
// string. Ranges and subnets of random plans are checked bit by bit by fuzz_ipv6subnetplan,
// which the suite replays on its corpus.

#include "address/exceptionutil.h"
#include "common/exceptionmessage.h"
#include "ipv6/ipv6subnetplan.h"

#include <QtTest>

namespace {

using Plan = IPv6SubnetPlan;

const auto Q = [](const std::string& text) { return QString::fromStdString(text); };

UInt128 Number(const std::string& bits)
{
    UInt128 value = 0;
    for (const char bit : bits)
        value = value << 1 | static_cast<UInt128>(bit - '0');
    return value;
}

// The binary digits in decimal: double and add, one bit at a time.
QString Decimal(const std::string& bits)
{
    std::string digits = "0";
    for (const char bit : bits) {
        int carry = bit - '0';
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            const int doubled = (*digit - '0') * 2 + carry;
            *digit = static_cast<char>('0' + doubled % 10);
            carry = doubled / 10;
        }
        if (carry)
            digits.insert(digits.begin(), '1');
    }
    return Q(digits);
}

} // namespace

class TstIPv6SubnetPlan : public QObject
{
    Q_OBJECT

private slots:
    // Every count 2^n: its text, and a /(128 - n) split into 2^n subnets at both ends of the space, where the
    // top address lies in the last subnet and the window of rows ends there; at the bottom it starts at 0.
    void counts()
    {
        const QRegularExpression grouped("^2\\^(\\d+) = (\\d{1,3}(,\\d{3})*)$");
        for (int n = 0; n <= 128; ++n) {
            const QString power = Decimal('1' + std::string(n, '0')), below = Decimal(std::string(n, '1'));
            const QRegularExpressionMatch text = grouped.match(Q(Plan::PowerOfTwoText(n)));
            QVERIFY2(text.hasMatch() && text.captured(1).toInt() == n, qPrintable(text.captured()));
            QCOMPARE(text.captured(2).remove(','), power);
            QCOMPARE(Q(Plan::DecimalText(Number(std::string(n, '1')))), below);
            const Plan top(IPv6Address(~0ull, ~0ull), 128 - n, 128), bottom(IPv6Address(0, 0), 128 - n, 128);
            QCOMPARE(Q(Plan::DecimalText(top.GetAddressSubnetIndex())), below);
            QCOMPARE(QString::number(top.GetRowCount()), n < 31 ? power : QString::number(Plan::MaxRows));
            QCOMPARE(Q(Plan::DecimalText(top.GetFirstRowIndex() + static_cast<UInt128>(top.GetRowCount() - 1))), below);
            QCOMPARE(Q(Plan::DecimalText(bottom.GetFirstRowIndex())), "0");
        }
        // Half the rows before the address's own.
        QCOMPARE(Q(Plan::DecimalText(Plan(IPv6Address("::4000:0"), 64, 128).GetFirstRowIndex())), "1");
    }

    // The Global ID takes 40 random bits and nothing else (two clicks differ: tst_ipv6subnetstabcontroller).
    void uniqueLocalPrefix()
    {
        QCOMPARE(Plan::RandomUniqueLocalPrefix([] { return ~0ULL; }).ToString(0), "FDFF:FFFF:FFFF::");
        QCOMPARE(Plan::RandomUniqueLocalPrefix([] { return 0ULL; }).ToString(0), "FD00::");
    }

    void refusals()
    {
        const auto thrown = [](int prefix, int subnet) {
            return ThrownMessage<std::out_of_range>([=] { Plan(IPv6Address("2001:db8::1"), prefix, subnet); });
        };
        QCOMPARE(QStringList({thrown(-1, 64), thrown(129, 128), thrown(64, 63), thrown(0, 129), thrown(0, 0),
                              thrown(128, 128)}),
                 QStringList({"nPrefixLength", "nPrefixLength", "nSubnetLength", "nSubnetLength", "no exception",
                              "no exception"}));
    }
};

QTEST_APPLESS_MAIN(TstIPv6SubnetPlan)
#include "tst_ipv6subnetplan.moc"
