// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ipv6fieldpicture.h"

#include "address/ipv6address.h"

#include <QGuiApplication>
#include <QHash>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

namespace {
// The size html takes laid out as the picture lays out its texts, at width
// (a negative width: unwrapped).
QSizeF LaidOutSize(const QString& html, qreal width)
{
    // Laying out a document costs a parse; the same names and bit counts come
    // back with every address and type, so their sizes are kept per font.
    static QHash<QString, QSizeF> sizes;
    const QString key = QStringLiteral("%1\n%2\n%3").arg(QGuiApplication::font().key()).arg(width).arg(html);
    if (const auto size = sizes.constFind(key); size != sizes.constEnd())
        return *size;
    if (sizes.size() > 4096)
        sizes.clear();
    QTextDocument document;
    IPv6FieldPicture::LayOut(&document, {html, QRectF(0, 0, width, 0), IPv6FieldPicture::TextColor});
    return *sizes.insert(key, document.size());
}

// Wraps the text to width; a word too long to wrap widens the field instead.
void FitTextWidth(const QString& html, qreal& width)
{
    if (LaidOutSize(html, -1).width() <= width)
        return;
    width = std::max(width, LaidOutSize(html, width).width());
}

// html laid out at width from (x, 0).
IPv6FieldPicture::Text TextAt(const QString& html, qreal x, qreal width)
{
    return {html, QRectF(x, 0, width, LaidOutSize(html, width).height()), IPv6FieldPicture::TextColor};
}
} // namespace

void IPv6FieldPicture::LayOut(QTextDocument* document, const Text& text)
{
    document->setHtml(QStringLiteral("<center>%1</center>").arg(text.html));
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    document->setDefaultTextOption(option);
    document->setTextWidth(text.rect.width());
}

IPv6FieldPicture::IPv6FieldPicture(const IPv6AddressFieldList& fields, const IPv6Address& address)
{
    qreal x = 0;
    for (const IPv6AddressField& field : fields) {
        const QString bits = tr("%1 bits").arg(field.GetBitCount());
        const QString value = QString::fromStdString(field.GetValue(address));
        const QString name = QString::fromStdString(field.GetName(address));

        qreal width = unitsPerBit * field.GetBitCount();
        FitTextWidth(value, width);
        FitTextWidth(name, width);

        const QRectF boxRect(x, 0, width + 2 * padding, boxHeight);
        // The bit count is as wide as the box, from where the value starts.
        Text bitsText = TextAt(bits, x + padding, width + 2 * padding);
        Text valueText = TextAt(value, x + padding, width);
        Text nameText = TextAt(name, x + padding, width);
        bitsText.rect.moveTop(-bitsText.rect.height() - padding);
        valueText.rect.moveTop((boxHeight - valueText.rect.height()) / 2);
        nameText.rect.moveTop(boxHeight + padding);
        m_fields.push_back({{boxRect.translated(shadowOffset, shadowOffset), ShadowColor, ShadowColor, NoColor},
                            {boxRect, BoxTopColor, BoxBottomColor, OutlineColor},
                            bitsText,
                            valueText,
                            nameText});
        x += width + 2 * padding;
    }
}
