// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/documentlines.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <string_view>

std::string DocumentLines::Snapshot::Join() const
{
    std::string text;
    text.reserve(static_cast<size_t>(ByteCount()));
    for (const std::shared_ptr<const Chunk>& chunk : m_chunks)
        text += chunk->bytes;
    if (!text.empty())
        text.pop_back();
    // U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9.
    size_t kept = 0;
    for (size_t n = 0; n < text.size(); ++n) {
        if (text[n] == '\xe2' && n + 2 < text.size() && text[n + 1] == '\x80'
            && (text[n + 2] == '\xa8' || text[n + 2] == '\xa9')) {
            text[kept++] = '\n';
            n += 2;
        } else {
            text[kept++] = text[n];
        }
    }
    text.resize(kept);
    return text;
}

qsizetype DocumentLines::Snapshot::ByteCount() const
{
    qsizetype bytes = 0;
    for (const std::shared_ptr<const Chunk>& chunk : m_chunks)
        bytes += static_cast<qsizetype>(chunk->bytes.size());
    return bytes;
}

DocumentLines::Snapshot DocumentLines::Snapshot::Of(std::string text)
{
    // One chunk of any length: only a document's own chunks are ever split.
    auto chunk = std::make_shared<Chunk>();
    chunk->bytes = std::move(text);
    chunk->bytes += '\n';
    Snapshot snapshot;
    snapshot.m_chunks.push_back(std::move(chunk));
    return snapshot;
}

void DocumentLines::Append(QTextDocument* document, QStringView text, bool packed)
{
    QString blocks;
    blocks.reserve(text.size());
    int lines = 0;
    for (qsizetype n = 0; n < text.size(); ++n) {
        const QChar ch = text[n];
        if (ch != u'\n' && ch != u'\r') {
            blocks += ch;
            continue;
        }
        if (ch == u'\r' && n + 1 < text.size() && text[n + 1] == u'\n')
            ++n;
        blocks += packed && ++lines % kPackedLines != 0 && n + 1 < text.size() ? QChar::LineSeparator : QChar(u'\n');
    }
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    QTextBlock block = cursor.block();
    cursor.insertText(blocks);
    if (!packed)
        return;
    // The layout counts an unlaid block as one line; the scroll bar needs the
    // true count of the new blocks, which are laid out only when shown.
    for (; block.isValid(); block = block.next())
        block.setLineCount(static_cast<int>(block.text().count(QChar::LineSeparator)) + 1);
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
}

std::string_view DocumentLines::Snapshot::OfBytes() const
{
    return m_chunks.size() == 1 ? std::string_view(m_chunks.front()->bytes) : std::string_view();
}

DocumentLines::DocumentLines(QTextDocument* document)
    : QObject(document),
      m_document(document),
      m_lineCount(0)
{
    // A document without a layout announces no edits; an edit's own has one, this makes one otherwise.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &DocumentLines::OnContentsChange);
    Replace(0, 0, document->blockCount() - 1);
}

void DocumentLines::OnContentsChange(int position, int /*charsRemoved*/, int charsAdded)
{
    // The lines from the change's start to its end are new; the lines after
    // it are the old ones, shifted by the change in the line count.
    const auto lineAt = [this](int at) {
        const QTextBlock block = m_document->findBlock(at);
        return block.isValid() ? block.blockNumber() : m_document->blockCount() - 1;
    };
    const int first = lineAt(position);
    const int last = std::max(first, lineAt(position + charsAdded));
    const int grown = m_document->blockCount() - m_lineCount;
    Replace(first, std::clamp(last - first + 1 - grown, 0, m_lineCount - first), last);
}

void DocumentLines::Replace(int first, int removed, int last)
{
    std::vector<std::shared_ptr<const Chunk>>& chunks = m_snapshot.m_chunks;
    // The chunk holding line first (the last one for a line added at the end)
    // and those holding the removed lines are made anew, with their other lines.
    size_t begin = 0;
    int line = 0;
    while (begin + 1 < chunks.size() && line + chunks[begin]->lines <= first)
        line += chunks[begin++]->lines;
    size_t end = std::min(begin + 1, chunks.size());
    for (int stop = line + (end > begin ? chunks[begin]->lines : 0); end < chunks.size() && stop < first + removed;)
        stop += chunks[end++]->lines;

    std::vector<std::shared_ptr<const Chunk>> made;
    std::shared_ptr<Chunk> chunk;
    const auto add = [&made, &chunk](std::string_view bytes) {
        if (!chunk || chunk->lines == kChunkLines || chunk->bytes.size() >= kChunkBytes)
            made.push_back(chunk = std::make_shared<Chunk>());
        chunk->bytes += bytes;
        ++chunk->lines;
    };
    // The kept lines before first, the document's new lines, then the kept lines after the removed ones.
    const auto keep = [&](bool afterRemoved) {
        int at = line;
        for (size_t n = begin; n < end; ++n) {
            const std::string_view bytes = chunks[n]->bytes;
            for (size_t start = 0; start < bytes.size(); ++at) {
                const size_t stop = bytes.find('\n', start) + 1;
                if (afterRemoved ? at >= first + removed : at < first)
                    add(bytes.substr(start, stop - start));
                start = stop;
            }
        }
    };
    keep(false);
    QTextBlock block = m_document->findBlockByNumber(first);
    for (int n = first; n <= last && block.isValid(); ++n, block = block.next())
        add(block.text().toStdString() + '\n');
    keep(true);
    const auto at = [&chunks](size_t n) { return chunks.begin() + static_cast<std::ptrdiff_t>(n); };
    chunks.erase(at(begin), at(end));
    chunks.insert(at(begin), made.begin(), made.end());
    m_lineCount += last - first + 1 - removed;
}
