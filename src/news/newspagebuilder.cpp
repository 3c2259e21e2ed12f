// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "news/newspagebuilder.h"

#include "news/newsfetcher.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace {

// A rough measure of the time the text layout takes over a document, in
// characters of plain text: a table cell costs as much as 32 characters, and
// every level of tables around a block doubles its cost, as the layout lays
// nested tables out again for each level.
constexpr qint64 maxLayoutCost = qint64{16} * 1024;
constexpr qint64 blockCost = 4;
constexpr qint64 lineCost = 4;
constexpr qint64 cellCost = 32;
// A page over that cost is shown as this much of its plain text.
constexpr int maxPlainCharacters = 16 * 1024;
constexpr int maxPlainLines = 1000;

constexpr char16_t zeroWidthSpace = 0x200B;
// The HTML import's time grows faster than the square of the number of images.
constexpr int maxImages = 256;

// A page that takes its resources from its resource provider alone: the
// document and the browser would read any other address themselves, local
// files included, before they ask the provider.
class PageDocument : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl& name) override
    {
        const ResourceProvider resources = resourceProvider();
        return resources ? resources(name) : NewsPageBuilder::OwnResource(name);
    }
};

int TableDepth(const QTextBlock& block)
{
    int depth = 0;
    for (QTextFrame* frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame())
        if (qobject_cast<QTextTable*>(frame))
            ++depth;
    return depth;
}

bool WithinLayoutBudget(const QTextDocument& document)
{
    qint64 cost = 0;
    for (QTextBlock block = document.begin(); block.isValid() && cost <= maxLayoutCost; block = block.next()) {
        const QString text = block.text();
        const int depth = TableDepth(block);
        const qint64 own =
            text.size() + blockCost + lineCost * text.count(QChar::LineSeparator) + (depth > 0 ? cellCost : 0);
        cost += own << std::min(depth, 16);
    }
    return cost <= maxLayoutCost;
}

QString BoundedPlainText(QString text)
{
    text.truncate(maxPlainCharacters);
    qsizetype end = -1;
    for (int line = 0; line < maxPlainLines && end < text.size(); ++line) {
        end = text.indexOf(QLatin1Char('\n'), end + 1);
        if (end < 0)
            return text;
    }
    text.truncate(end);
    return text;
}

bool BreaksLine(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(zeroWidthSpace) || c == QChar::LineSeparator;
}

// Puts a zero-width space into every run longer than the limit; a run goes on
// across formats and tags, and no-break spaces do not end it.
void BreakLongRuns(QTextDocument& document)
{
    QList<int> breaks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int run = 0;
        for (int i = 0; i < text.size(); ++i) {
            if (BreaksLine(text[i]))
                run = 0;
            else if (++run > NewsPageBuilder::maxUnbrokenRun) {
                breaks << block.position() + i;
                run = 1;
            }
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto at = breaks.crbegin(); at != breaks.crend(); ++at) {
        cursor.setPosition(*at);
        cursor.insertText(QString(QChar(zeroWidthSpace)));
    }
    cursor.endEditBlock();
}

// Renames the image tags past the first few to one the import ignores.
void DropImagesBeyond(QString& html, int kept)
{
    static const QRegularExpression image(QStringLiteral("<img(?![A-Za-z0-9])"),
                                          QRegularExpression::CaseInsensitiveOption);
    int seen = 0;
    for (QRegularExpressionMatchIterator it = image.globalMatch(html); it.hasNext();) {
        const qsizetype at = it.next().capturedStart();
        if (++seen > kept)
            html[at + 1] = u'x';
    }
}

} // namespace

// An image that fails to decode is read again from its name by the
// text layout, so a refusal is a blank image rather than nothing.
QVariant NewsPageBuilder::OwnResource(const QUrl& url)
{
    QString path;
    if (url.scheme() == QLatin1String("qrc"))
        path = QLatin1Char(':') + url.path();
    else if (url.scheme().isEmpty() && url.path().startsWith(QLatin1String(":/")))
        path = url.path();
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly))
        return file.readAll();
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return blank;
}

std::unique_ptr<QTextDocument> NewsPageBuilder::Build(const QString& path, const QUrl& base,
                                                      const QTextDocument::ResourceProvider& resources)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(NewsFetcher::maxBodySize) : QByteArray();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);

    std::unique_ptr<QTextDocument> page = std::make_unique<PageDocument>();
    page->setUndoRedoEnabled(false);
    page->setResourceProvider(resources);
    page->setBaseUrl(base);
    QString html = decoder.decode(bytes);
    DropImagesBeyond(html, maxImages);
    page->setHtml(html);
    if (!WithinLayoutBudget(*page))
        page->setPlainText(BoundedPlainText(page->toPlainText()));
    BreakLongRuns(*page);
    return page;
}
