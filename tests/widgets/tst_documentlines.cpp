// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/documentlines.h"

#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

class TstDocumentLines : public QObject
{
    Q_OBJECT

private slots:
    // Random typing, pasting, deleting, undoing and replacing keep the lines equal to the document's
    // text, across chunk boundaries, and a snapshot stays as it was taken.
    void followsEveryEdit()
    {
        QTextDocument document;
        const DocumentLines lines(&document);
        QCOMPARE(lines.Take().Join(), "");
        QRandomGenerator random(29);
        QString many;
        for (int n = 0; n < 3 * DocumentLines::kChunkLines; ++n)
            many += QString("10.0.%1.0/24\n").arg(n);
        document.setPlainText(many);
        const DocumentLines::Snapshot taken = lines.Take();
        QTextCursor cursor(&document);
        for (int step = 0; step < 800; ++step) {
            cursor.setPosition(static_cast<int>(random.bounded(document.characterCount())));
            const int kind = static_cast<int>(random.bounded(6));
            if (kind == 0)
                cursor.insertText("\n");
            else if (kind == 1)
                cursor.insertText(many.mid(static_cast<int>(random.bounded(many.size())), 700) + "ü\n");
            else if (kind == 2)
                cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor,
                                    static_cast<int>(random.bounded(900))),
                    cursor.removeSelectedText();
            else if (kind == 3)
                document.undo();
            else
                cursor.insertText(QString(QChar('a' + kind)));
            QCOMPARE(lines.Take().Join(), document.toPlainText().toStdString());
            QCOMPARE(lines.ByteCount(), document.toPlainText().toUtf8().size() + 1);
        }
        QCOMPARE(taken.Join(), many.toStdString());
        document.clear();
        QCOMPARE(lines.Take().Join(), "");
    }

    // A long text goes in kPackedLines a block, each line still a line: of the
    // text, of the layout's count (the scroll bar's) and after edits in a block.
    void appendsPacked()
    {
        QTextDocument document;
        const DocumentLines lines(&document);
        QString text;
        for (int n = 0; n < 3 * DocumentLines::kPackedLines + 5; ++n)
            text += QString("10.%1.0.0/16").arg(n) + (n % 3 == 0 ? "\r\n" : "\n");
        DocumentLines::Append(&document, text.left(text.size() / 2), true);
        DocumentLines::Append(&document, text.mid(text.size() / 2), true);
        const QString plain = QString(text).replace("\r\n", "\n");
        QCOMPARE(lines.Take().Join(), plain.toStdString());
        QCOMPARE(document.toPlainText(), plain);
        QCOMPARE(lines.ByteCount(), plain.toUtf8().size() + 1);
        QVERIFY(document.blockCount() <= 6);
        QCOMPARE(document.lineCount(), 3 * DocumentLines::kPackedLines + 6);
        QTextCursor cursor(&document);
        cursor.setPosition(40);
        cursor.insertText("\n1.2.3.4 ");
        cursor.deletePreviousChar();
        QCOMPARE(lines.Take().Join(), document.toPlainText().toStdString());
        DocumentLines::Append(&document, QStringLiteral("a\rb"), false);
        QVERIFY(document.toPlainText().endsWith("\na\nb"));
    }

    // A file's snapshot: its pieces one at a time, a document filled with some of them followed
    // by the rest reading as the whole, and its text without a copy unless a separator needs converting.
    void fileSnapshots()
    {
        DocumentLines::Snapshot file = DocumentLines::Snapshot::Of({"a\nb\n", "c\n", "d"});
        QCOMPARE(file.Join(), "a\nb\nc\nd");
        QVERIFY(!file.Whole());
        QTextDocument document;
        const DocumentLines lines(&document);
        QCOMPARE(lines.Take().FollowedBy(file).Join(), "a\nb\nc\nd");
        DocumentLines::Append(&document, QString::fromUtf8(file.Front()), true);
        file.PopFront();
        QCOMPARE(file.Front(), "c\n");
        QCOMPARE(lines.Take().FollowedBy(file).Join(), "a\nb\nc\nd");
        QCOMPARE(DocumentLines::Snapshot::Of({"x\n"}).Whole(), "x\n");
        QCOMPARE(DocumentLines::Snapshot::Of({}).Whole(), "");
        const DocumentLines::Snapshot separated = DocumentLines::Snapshot::Of({"a\u2028b\u2029c\xe2"});
        QVERIFY(!separated.Whole());
        QCOMPARE(separated.Join(), "a\nb\nc\xe2");
    }
};

QTEST_MAIN(TstDocumentLines)

#include "tst_documentlines.moc"
