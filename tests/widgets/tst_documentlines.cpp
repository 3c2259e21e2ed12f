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
};

QTEST_MAIN(TstDocumentLines)

#include "tst_documentlines.moc"
