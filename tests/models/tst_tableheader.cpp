// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/tableheader.h"

#include <QStandardItemModel>
#include <QTest>

#include <array>

class TstTableHeader : public QObject
{
    Q_OBJECT

private slots:
    // Titles and row labels inside the table only, and only as display text.
    void texts()
    {
        QStandardItemModel model(3, 2);
        const std::array<const char*, 2> titles = {"A", "B"};
        const auto header = [&](int section, Qt::Orientation orientation, int role = Qt::DisplayRole) {
            return TableHeader::Data(&model, titles, section, orientation, role, [](int row) { return row * 10; });
        };
        QCOMPARE(header(1, Qt::Horizontal), "B");
        QCOMPARE(header(2, Qt::Vertical), 20);
        for (const auto& [section, orientation] :
             {std::pair(-1, Qt::Horizontal), {2, Qt::Horizontal}, {-1, Qt::Vertical}, {3, Qt::Vertical}})
            QVERIFY(!header(section, orientation).isValid());
        QVERIFY(!header(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }
};

QTEST_APPLESS_MAIN(TstTableHeader)
#include "tst_tableheader.moc"
