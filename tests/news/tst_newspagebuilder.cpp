// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/datarows.h"
#include "common/testenvironment.h"
#include "news/newspagebuilder.h"

#include <QTest>
#include <QTextTable>

// Before any application object: keeps the user's own files out of reach.
static const TestEnvironment env;

class TstNewsPageBuilder : public QObject
{
    Q_OBJECT

private slots:
    void pageStaysWithinTheLayoutBudget_data()
    {
        AddColumns<QByteArray, QString, int>("html", "text", "tables");
        const auto row = [](const char* tag, const QString& html, const QString& text, int tables = 0) {
            QTest::newRow(tag) << html.toUtf8() << text << tables;
        };
        const auto w = [](int count) { return QString(count, u'w'); };
        const QString zwsp(QChar(0x200B));
        row("runs of 80 stay whole", w(80) + " " + w(80), w(80) + " " + w(80));
        row("a run of 200 breaks after each 80", w(200), w(80) + zwsp + w(80) + zwsp + w(40));
        // The plain text shows the no-break space as a space.
        row("a run goes on across tags and no-break spaces", "<b>" + w(60) + "</b>&nbsp;" + w(30),
            w(60) + " " + w(19) + zwsp + w(11));
        row("a line break ends a run", w(70) + "<br>" + w(70), w(70) + "\n" + w(70));
        row("a small table stays", "<table><tr><td>cell</td></tr></table>", "\ncell\n", 1);
        row("12 nested tables and 1100 lines: the first 1000",
            QString("<table><tr><td>x").repeated(12) + QString("<p>l</p>").repeated(1100),
            "\n" + QString("x\n").repeated(12) + QString("l\n").repeated(986) + "l");
        row("5000 paragraphs: the first 1000 lines", QString("<p>l</p>").repeated(5000),
            QString("l\n").repeated(999) + "l");
        row("20000 characters: the first 16 KiB", QString("w ").repeated(10000), QString("w ").repeated(8192));
        row("300 images: the first 256", QString("<img src=\"a.png\"> ").repeated(300),
            QString(QString(QChar::ObjectReplacementCharacter) + " ").repeated(256));
        QTest::newRow("charset of the page")
            << QByteArray("<meta charset=\"iso-8859-1\"><p>caf\xe9") << "caf\u00e9" << 0;
    }
    void pageStaysWithinTheLayoutBudget()
    {
        QFETCH(QByteArray, html);
        const QString path = env.path() + "/page.html";
        QVERIFY(WriteAll(path, html));
        const std::unique_ptr<QTextDocument> page = NewsPageBuilder::Build(path, QUrl(), {});
        QTEST(page->toPlainText(), "text");
        QTEST(static_cast<int>(page->findChildren<QTextTable*>().size()), "tables");
    }
};

QTEST_MAIN(TstNewsPageBuilder)

#include "tst_newspagebuilder.moc"
