// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Set operations and overlaps of random lists against a slow reference: every elementary segment between two
// item boundaries is in or out of a list as a whole, so counting the items that cover its first address decides.

#include "common/datarows.h"
#include "lists/listcomputation.h"
#include "lists/listresultwriter.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

namespace {
using Ranges = std::vector<AddressRange>;
using Keep = bool (*)(int inA, int inB);

constexpr std::array<AddressFamily, 2> kFamilies = {AddressFamily::IPv4, AddressFamily::IPv6};

UInt128 Top(AddressFamily family)
{
    return family == AddressFamily::IPv4 ? 0xFFFFFFFFU : ~static_cast<UInt128>(0);
}

int Covering(const Ranges& items, AddressFamily family, UInt128 address)
{
    return static_cast<int>(std::count_if(items.begin(), items.end(), [&](const AddressRange& item) {
        return item.family == family && item.first <= address && address <= item.last;
    }));
}

// The segments kept, merged where they touch.
Ranges Reference(const Ranges& a, const Ranges& b, Keep keep)
{
    Ranges kept;
    for (const AddressFamily family : kFamilies) {
        std::vector<UInt128> cuts = {0};
        for (const Ranges* list : {&a, &b}) {
            for (const AddressRange& item : *list) {
                if (item.family != family)
                    continue;
                cuts.push_back(item.first);
                if (item.last != Top(family))
                    cuts.push_back(item.last + 1);
            }
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        for (size_t i = 0; i < cuts.size(); ++i) {
            const AddressRange segment{family, cuts[i], i + 1 < cuts.size() ? cuts[i + 1] - 1 : Top(family)};
            if (!keep(Covering(a, family, cuts[i]), Covering(b, family, cuts[i])))
                continue;
            if (!kept.empty() && kept.back().family == family && kept.back().last + 1 == segment.first)
                kept.back().last = segment.last;
            else
                kept.push_back(segment);
        }
    }
    return kept;
}

Ranges Rows(const ListResult& result)
{
    Ranges rows;
    for (UInt128 row = 0; row < result.GetRowCount(); ++row)
        rows.push_back(result.GetRange(row));
    return rows;
}

QString Join(const Ranges& ranges)
{
    QStringList texts;
    for (const AddressRange& range : ranges)
        texts << QString::fromStdString(range.RangeText());
    return texts.join(", ");
}

// Items near both ends of both spaces and the middle, nested, adjacent and repeated; now and then a whole space.
Ranges RandomList(QRandomGenerator& random)
{
    Ranges items;
    for (int i = random.bounded(12); i >= 0; --i) {
        const AddressFamily family = kFamilies[random.bounded(2)];
        const int bits = AddressRange::Bits(family);
        const std::array<UInt128, 3> anchors = {0, Top(family) - 999, static_cast<UInt128>(1) << (bits - 1)};
        const UInt128 first = anchors[random.bounded(3)] + random.bounded(1000);
        if (random.bounded(30) == 0)
            items.push_back(AddressRange::FromPrefix(family, 0, random.bounded(2)));
        else if (random.bounded(2) == 0)
            items.push_back(AddressRange::FromPrefix(family, first, bits - random.bounded(11)));
        else
            items.push_back({family, first, first + std::min<UInt128>(Top(family) - first, random.bounded(300))});
        if (random.bounded(6) == 0)
            items.push_back(items.back());
    }
    return items;
}

std::string ListText(const Ranges& items)
{
    std::string text;
    for (const AddressRange& item : items)
        text += item.Text() + '\n';
    return text;
}

ListOutcome Run(const std::string& a, ListOperation operation, const std::string& b = {}, int split4 = -1,
                int split6 = -1)
{
    const std::atomic<bool> cancel = false;
    return ListComputation::Run({a, b, operation, split4, split6}, cancel);
}

QString Cells(const ListResult& result)
{
    QStringList rows;
    for (UInt128 row = 0; row < result.GetRowCount(); ++row) {
        QStringList cells;
        for (size_t column = 0; column < result.ColumnTitles().size(); ++column)
            cells << QString::fromStdString(result.CellText(row, static_cast<int>(column)));
        rows << cells.join(' ');
    }
    return rows.join(" | ");
}

QByteArray Written(const ListResult& result, ListResultWriter::Format format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return ListResultWriter::Write(result, format, buffer, ~static_cast<UInt128>(0)) ? buffer.data() : "refused";
}
} // namespace

class TstListComputation : public QObject
{
    Q_OBJECT

private slots:
    // Every set operation on random lists: the rows cover what the reference keeps, as prefixes no two of which
    // join into one (the fewest), or as the ranges themselves; the counts are those of the kept addresses.
    void setOperations()
    {
        const std::array<std::pair<ListOperation, Keep>, 5> operations = {{
            {ListOperation::MergeA, [](int a, int) { return a > 0; }},
            {ListOperation::AMinusB, [](int a, int b) { return a > 0 && b == 0; }},
            {ListOperation::AAndB, [](int a, int b) { return a > 0 && b > 0; }},
            {ListOperation::AOrB, [](int a, int b) { return a > 0 || b > 0; }},
            {ListOperation::RangesOfA, [](int a, int) { return a > 0; }},
        }};
        QRandomGenerator random(20260);
        for (int round = 0; round < 300; ++round) {
            const Ranges a = RandomList(random), b = RandomList(random);
            for (const auto& [operation, keep] : operations) {
                const ListOutcome outcome = Run(ListText(a), operation, ListText(b));
                const Ranges rows = Rows(outcome.result), expected = Reference(a, b, keep);
                QVERIFY2(outcome.problemsA.empty() && outcome.itemsA == a.size() && !outcome.cancelled,
                         outcome.problemsA.empty() ? "" : outcome.problemsA[0].ToString().c_str());
                if (operation == ListOperation::RangesOfA) {
                    QCOMPARE(Join(rows), Join(expected));
                    continue;
                }
                for (size_t i = 0; i < rows.size(); ++i) {
                    const int length = rows[i].PrefixLength();
                    QVERIFY2(length >= 0, rows[i].RangeText().c_str());
                    const bool joinable = i > 0 && rows[i - 1].family == rows[i].family
                                          && rows[i - 1].PrefixLength() == length
                                          && rows[i - 1].last + 1 == rows[i].first
                                          && AddressRange::FromPrefix(rows[i].family, rows[i].first, length - 1).first
                                                 == rows[i - 1].first;
                    QVERIFY2(!joinable, rows[i].Text().c_str());
                }
                QCOMPARE(Join(Reference(rows, {}, [](int a, int) { return a > 0; })), Join(expected));
                for (const AddressFamily family : kFamilies) {
                    AddressCount count;
                    for (const AddressRange& range : expected) {
                        if (range.family == family)
                            count.Add(range);
                    }
                    QCOMPARE(outcome.result.AddressCountText(family), count.Text());
                }
            }
        }
    }

    // Overlaps of random lists against every pair of items, in address order, with what they share.
    void overlaps()
    {
        QRandomGenerator random(7);
        for (int round = 0; round < 200; ++round) {
            const Ranges a = RandomList(random), b = RandomList(random);
            const bool withB = round % 2 == 1;
            std::vector<std::tuple<AddressRange, quint32, AddressRange, quint32>> pairs;
            for (size_t i = 0; i < a.size(); ++i) {
                for (size_t j = withB ? 0 : i + 1; j < (withB ? b : a).size(); ++j) {
                    if (a[i].Overlaps((withB ? b : a)[j]))
                        pairs.emplace_back(a[i], i + 1, (withB ? b : a)[j], j + 1);
                }
            }
            std::sort(pairs.begin(), pairs.end(), [](const auto& x, const auto& y) {
                return std::tie(std::get<0>(x), std::get<2>(x), std::get<1>(x), std::get<3>(x))
                       < std::tie(std::get<0>(y), std::get<2>(y), std::get<1>(y), std::get<3>(y));
            });
            const ListOutcome outcome =
                Run(ListText(a), withB ? ListOperation::OverlapsOfAWithB : ListOperation::OverlapsInA, ListText(b));
            const ListResult& result = outcome.result;
            QCOMPARE(result.GetRowCount(), pairs.size());
            QCOMPARE(result.GetDroppedOverlaps(), 0);
            for (size_t row = 0; row < pairs.size(); ++row) {
                const ListOverlap& overlap = result.GetOverlap(row);
                const auto& [first, firstLine, second, secondLine] = pairs[row];
                QVERIFY(overlap.first == (ListItem{first, firstLine})
                        && overlap.second == (ListItem{second, secondLine}));
                QCOMPARE(overlap.shared, (AddressRange{first.family, std::max(first.first, second.first),
                                                       std::min(first.last, second.last)}));
            }
            const Keep shared = withB ? [](int x, int y) { return x > 0 && y > 0; } : [](int x, int) { return x > 1; };
            const Ranges expected = Reference(a, withB ? b : Ranges(), shared);
            AddressCount count;
            for (const AddressRange& range : expected) {
                if (range.family == AddressFamily::IPv6)
                    count.Add(range);
            }
            QCOMPARE(result.AddressCountText(AddressFamily::IPv6), count.Text());
        }
    }

    void fixedResults_data()
    {
        AddColumns<QString, int, int, int, QString>("a", "operation", "split4", "split6", "cells");
        const auto op = [](ListOperation operation) { return static_cast<int>(operation); };
        // clang-format off
        AddRow("split, longer prefixes kept, IPv4 first", "::/127 11.0.0.0/30 10.0.0.0/25", op(ListOperation::MergeA), 26, 128,
               "10.0.0.0/26 10.0.0.0 10.0.0.63 64 | 10.0.0.64/26 10.0.0.64 10.0.0.127 64 | 11.0.0.0/30 11.0.0.0 11.0.0.3 4 | ::/128 :: :: 1 | ::1/128 ::1 ::1 1");
        AddRow("ranges ignore a split", "10.0.0.1-10.0.0.2", op(ListOperation::RangesOfA), 32, -1, "10.0.0.1 - 10.0.0.2 10.0.0.1 10.0.0.2 2");
        AddRow("overlaps on one line: the earlier start first", "10.1.0.0/16 10.0.0.0/8", op(ListOperation::OverlapsInA), -1, -1,
               "10.0.0.0/8 1 10.1.0.0/16 1 10.1.0.0/16 65536");
        AddRow("overlaps: nesting and a duplicate", "10.0.0.0/8\n10.1.0.0/16\n10.1.0.0/16\n11.0.0.0/8", op(ListOperation::OverlapsInA), 24, -1,
               "10.0.0.0/8 1 10.1.0.0/16 2 10.1.0.0/16 65536 | 10.0.0.0/8 1 10.1.0.0/16 3 10.1.0.0/16 65536 | 10.1.0.0/16 2 10.1.0.0/16 3 10.1.0.0/16 65536");
        // clang-format on
    }
    void fixedResults()
    {
        QFETCH(QString, a);
        QFETCH(int, operation);
        QFETCH(int, split4);
        QFETCH(int, split6);
        const ListOutcome outcome = Run(a.toStdString(), static_cast<ListOperation>(operation), {}, split4, split6);
        QTEST(Cells(outcome.result), "cells");
    }

    // Split rows at the ends of both spaces are computed, not kept; the whole IPv6 space saturates the count.
    void splitExtremes()
    {
        const ListResult all4 = Run("0.0.0.0/0", ListOperation::MergeA, {}, 32).result;
        QCOMPARE(all4.GetRowCount(), static_cast<UInt128>(1) << 32);
        QCOMPARE(all4.GetRange(0xFFFFFFFFU).Text(), "255.255.255.255/32");
        QCOMPARE(all4.AddressCountText(AddressFamily::IPv4), "4294967296");
        const ListResult all6 = Run("::/0 0.0.0.0/31", ListOperation::MergeA, {}, 32, 128).result;
        QCOMPARE(all6.GetRowCount(), ~static_cast<UInt128>(0));
        QCOMPARE(all6.GetRange(2).Text(), "::/128");
        QCOMPARE(all6.GetRange(~static_cast<UInt128>(0) - 1).Text(), "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFC/128");
        QCOMPARE(all6.AddressCountText(AddressFamily::IPv6), "340282366920938463463374607431768211456");
    }

    // A million identical lines: a million pairs kept, the rest counted, in bounded time.
    void overlapCap()
    {
        QByteArray lines = QByteArray("1.1.1.1\n").repeated(1000000);
        const ListResult result = Run(lines.toStdString(), ListOperation::OverlapsInA).result;
        QCOMPARE(result.GetRowCount(), ListResult::kMaxOverlaps);
        QCOMPARE(IPv6SubnetPlan::DecimalText(result.GetDroppedOverlaps()), "499998500000");
        QCOMPARE(result.AddressCountText(AddressFamily::IPv4), "1");
    }

    void writer()
    {
        const ListResult merged = Run("10.0.0.0/8 ::/127", ListOperation::MergeA).result;
        QCOMPARE(Written(merged, ListResultWriter::Format::Text), "10.0.0.0/8\n::/127\n");
        QCOMPARE(Written(merged, ListResultWriter::Format::Csv),
                 "Prefix,First Address,Last Address,Addresses\r\n10.0.0.0/8,10.0.0.0,10.255.255.255,16777216\r\n"
                 "::/127,::,::1,2\r\n");
        const ListResult pairs = Run("1.1.1.1 1.1.1.1", ListOperation::OverlapsInA).result;
        QCOMPARE(Written(pairs, ListResultWriter::Format::Text), "1.1.1.1/32\t1\t1.1.1.1/32\t1\t1.1.1.1/32\t1\n");
        QCOMPARE(ListResultWriter::CsvField("a \"b\",\nc"), "\"a \"\"b\"\",\nc\"");
        // Past the first chunk: all rows asked for, or a refusal once cancel is set.
        const ListResult all = Run("0.0.0.0/0", ListOperation::MergeA, {}, 32).result;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const std::atomic<bool> cancel = true;
        QVERIFY(ListResultWriter::Write(all, ListResultWriter::Format::Text, buffer, 10000)
                && buffer.data().count('\n') == 10000 && buffer.data().endsWith("\n0.0.39.15/32\n"));
        QVERIFY(!ListResultWriter::Write(all, ListResultWriter::Format::Text, buffer, 10000, &cancel));
    }

    // A long list is read in two halves at once: its rows and counts are those of its two parts
    // joined, its problems keep their lines across CR, CRLF and LF line ends.
    void halves()
    {
        QRandomGenerator random(31);
        const std::array<std::string, 3> breaks = {"\n", "\r\n", "\r"};
        std::array<std::string, 2> parts;
        std::array<quint32, 2> lines = {0, 0};
        for (size_t part = 0; part < parts.size(); ++part) {
            while (parts[part].size() < 600 * 1024) {
                for (const AddressRange& item : RandomList(random)) {
                    parts[part] += item.Text() + (part == 0 ? breaks[random.bounded(3)] : "\n");
                    ++lines[part];
                }
            }
        }
        parts[0] += "10.0.0.256\n";
        parts[1] += "1.2.3.4/33";
        const ListOutcome whole = Run(parts[0] + parts[1], ListOperation::MergeA);
        const ListOutcome joined = Run(parts[0], ListOperation::AOrB, parts[1]);
        QCOMPARE(Cells(whole.result), Cells(joined.result));
        QCOMPARE(whole.itemsA, joined.itemsA + joined.itemsB);
        QCOMPARE(whole.result.AddressCountText(AddressFamily::IPv6),
                 joined.result.AddressCountText(AddressFamily::IPv6));
        QCOMPARE(whole.problemsA.size(), 2);
        QCOMPARE(whole.problemsA[0].ToString(),
                 "line " + std::to_string(lines[0] + 1) + ": 10.0.0.256: not an address");
        QCOMPARE(whole.problemsA[1].ToString(),
                 "line " + std::to_string(lines[0] + lines[1] + 2) + ": 1.2.3.4/33: prefix length out of range");
    }

    void cancelAndProgress()
    {
        const std::atomic<bool> cancelled = true, running = false;
        QVERIFY(ListComputation::Run({"10.0.0.0/8", {}, ListOperation::MergeA, -1, -1}, cancelled).cancelled);
        std::vector<int> reports;
        const std::string list = QByteArray("10.0.0.1 ").repeated(300000).toStdString();
        QVERIFY(!ListComputation::Run({list, list, ListOperation::AOrB, -1, -1}, running, [&](int permille) {
                     reports.push_back(permille);
                 }).cancelled);
        QVERIFY(reports.size() > 5 && reports.size() <= 101 && reports.back() == 1000);
        QVERIFY(std::is_sorted(reports.begin(), reports.end()));
    }
};

QTEST_APPLESS_MAIN(TstListComputation)
#include "tst_listcomputation.moc"
