// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/documentlines.h"

#include <QTextBlock>
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
        if (!chunk || chunk->lines == kChunkLines)
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
