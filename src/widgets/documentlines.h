// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QStringView>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTextDocument;

// The lines of a text document as UTF-8, kept up to date edit by edit: an
// edit costs the lines it touches, not the document's length, and a
// snapshot of a million lines is a few thousand pointers.
class DocumentLines : public QObject
{
    Q_OBJECT

public:
    // Lines, each ended by '\n': up to kChunkLines blocks of a document's (and
    // about kChunkBytes), any number of a text's (lines unset).
    struct Chunk
    {
        std::string bytes;
        int lines = 0;
        // U+2028 and U+2029 in the lines, three bytes each, which Join makes one.
        int separators = 0;
    };
    // The document as it was when taken; unaffected by later edits.
    class Snapshot
    {
    public:
        // The text, lines separated by '\n' (as are U+2028 and U+2029, which
        // the edit shows as line breaks), without a last line break.
        [[nodiscard]] std::string Join() const;
        // What Join returns, without a copy, when the snapshot is one piece
        // with no separators to convert, as a file's is; else nothing.
        [[nodiscard]] std::optional<std::string_view> Whole() const;
        [[nodiscard]] qsizetype ByteCount() const;
        // A snapshot of text not in a document, such as a file being read
        // into one, in pieces that end lines; the last gets a line break.
        [[nodiscard]] static Snapshot Of(std::vector<std::string> pieces);
        // This document's lines, then those of rest, a snapshot made by Of.
        [[nodiscard]] Snapshot FollowedBy(const Snapshot& rest) const;
        // The first piece of a snapshot made by Of, with its line break, and its removal.
        [[nodiscard]] std::string_view Front() const;
        void PopFront();
        [[nodiscard]] bool IsEmpty() const { return m_chunks.empty(); }

    private:
        friend class DocumentLines;
        std::vector<std::shared_ptr<const Chunk>> m_chunks;
    };

    static constexpr int kChunkLines = 512;
    // An edit copies its chunk, so packed blocks fill a chunk by size.
    static constexpr size_t kChunkBytes = size_t{16} * 1024;
    // Lines of a long text put into one block by Append: a block costs a document some 200 bytes.
    static constexpr int kPackedLines = 64;

    // Appends text's lines (ended by LF, CRLF or CR) at document's end, one a
    // block, or with packed kPackedLines a block, separated by U+2028, which
    // the edit shows and moves through as lines.
    static void Append(QTextDocument* document, QStringView text, bool packed);

    // Follows document from now on, a child of it.
    explicit DocumentLines(QTextDocument* document);

    [[nodiscard]] Snapshot Take() const { return m_snapshot; }
    // The document's UTF-8 length, line breaks included, as its plain text has them.
    [[nodiscard]] qsizetype ByteCount() const;

private:
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    // Replaces the removed lines starting at line first by the document's lines first to last.
    void Replace(int first, int removed, int last);

    QTextDocument* m_document;
    Snapshot m_snapshot;
    int m_lineCount = 1;
};
