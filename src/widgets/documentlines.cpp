// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/documentlines.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <string_view>

namespace {
// Whether bytes holds U+2028 or U+2029 (E2 80 A8, E2 80 A9 in UTF-8) at at.
bool SeparatorAt(std::string_view bytes, size_t at)
{
    return bytes.compare(at, 3, "\xe2\x80\xa8") == 0 || bytes.compare(at, 3, "\xe2\x80\xa9") == 0;
}

int SeparatorCount(std::string_view bytes)
{
    int count = 0;
    for (size_t at = bytes.find('\xe2'); at != std::string_view::npos; at = bytes.find('\xe2', at + 1))
        count += SeparatorAt(bytes, at) ? 1 : 0;
    return count;
}
} // namespace

std::string DocumentLines::Snapshot::Join() const
{
    std::string text;
    text.reserve(static_cast<size_t>(ByteCount()));
    // U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9, never split between chunks, which end lines.
    for (const std::shared_ptr<const Chunk>& chunk : m_chunks) {
        const std::string_view bytes = chunk->bytes;
        for (size_t at = 0; at < bytes.size();) {
            const size_t mark = std::min(bytes.find('\xe2', at), bytes.size());
            text.append(bytes.substr(at, mark - at));
            if (mark == bytes.size())
                break;
            const bool separator = SeparatorAt(bytes, mark);
            text += separator ? '\n' : '\xe2';
            at = mark + (separator ? 3 : 1);
        }
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

std::optional<std::string_view> DocumentLines::Snapshot::Whole() const
{
    if (m_chunks.size() != 1)
        return std::nullopt;
    if (m_chunks.front()->separators != 0)
        return std::nullopt;
    const std::string_view bytes = m_chunks.front()->bytes;
    return bytes.substr(0, bytes.empty() ? 0 : bytes.size() - 1);
}

qsizetype DocumentLines::Snapshot::ByteCount() const
{
    qsizetype bytes = 0;
    for (const std::shared_ptr<const Chunk>& chunk : m_chunks)
        bytes += static_cast<qsizetype>(chunk->bytes.size());
    return bytes;
}

DocumentLines::Snapshot DocumentLines::Snapshot::Of(std::vector<std::string> pieces)
{
    // Pieces of any length: only a document's own chunks are ever split.
    if (pieces.empty())
        pieces.emplace_back();
    pieces.back() += '\n';
    Snapshot snapshot;
    snapshot.m_chunks.reserve(pieces.size());
    for (std::string& piece : pieces) {
        auto chunk = std::make_shared<Chunk>();
        chunk->bytes = std::move(piece);
        chunk->separators = SeparatorCount(chunk->bytes);
        snapshot.m_chunks.push_back(std::move(chunk));
    }
    return snapshot;
}

DocumentLines::Snapshot DocumentLines::Snapshot::FollowedBy(const Snapshot& rest) const
{
    // A document's last line is the one rest goes on: its own line break goes.
    Snapshot joined = *this;
    while (!joined.m_chunks.empty() && joined.m_chunks.back()->bytes.empty())
        joined.m_chunks.pop_back();
    if (!joined.m_chunks.empty()) {
        auto last = std::make_shared<Chunk>(*joined.m_chunks.back());
        last->bytes.pop_back();
        joined.m_chunks.back() = std::move(last);
    }
    joined.m_chunks.insert(joined.m_chunks.end(), rest.m_chunks.begin(), rest.m_chunks.end());
    return joined;
}

std::string_view DocumentLines::Snapshot::Front() const
{
    return m_chunks.empty() ? std::string_view() : std::string_view(m_chunks.front()->bytes);
}

void DocumentLines::Snapshot::PopFront()
{
    if (!m_chunks.empty())
        m_chunks.erase(m_chunks.begin());
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

qsizetype DocumentLines::ByteCount() const
{
    qsizetype bytes = 0;
    for (const std::shared_ptr<const Chunk>& chunk : m_snapshot.m_chunks)
        bytes += static_cast<qsizetype>(chunk->bytes.size()) - qsizetype{2} * chunk->separators;
    return bytes;
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
        chunk->separators += SeparatorCount(bytes);
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
