// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QTextDocument;

// The lines of a text document as UTF-8, kept up to date edit by edit: an
// edit costs the lines it touches, not the document's length, and a
// snapshot of a million lines is a few thousand pointers.
class DocumentLines : public QObject
{
    Q_OBJECT

public:
    // Lines, each ended by '\n': up to kChunkLines of a document's, any number of a text's (lines unset).
    struct Chunk
    {
        std::string bytes;
        int lines = 0;
    };
    // The document as it was when taken; unaffected by later edits.
    class Snapshot
    {
    public:
        // The text, lines separated by '\n', without a last line break.
        [[nodiscard]] std::string Join() const;
        [[nodiscard]] qsizetype ByteCount() const;
        // A snapshot of text not in a document, such as a file being read into one.
        [[nodiscard]] static Snapshot Of(std::string text);

    private:
        friend class DocumentLines;
        std::vector<std::shared_ptr<const Chunk>> m_chunks;
    };

    static constexpr int kChunkLines = 512;

    // Follows document from now on, a child of it.
    explicit DocumentLines(QTextDocument* document);

    [[nodiscard]] Snapshot Take() const { return m_snapshot; }
    // The document's UTF-8 length, line breaks included.
    [[nodiscard]] qsizetype ByteCount() const { return m_snapshot.ByteCount(); }

private:
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    // Replaces the removed lines starting at line first by the document's lines first to last.
    void Replace(int first, int removed, int last);

    QTextDocument* m_document;
    Snapshot m_snapshot;
    int m_lineCount = 1;
};
