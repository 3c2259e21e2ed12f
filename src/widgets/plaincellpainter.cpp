// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/plaincellpainter.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>

#include <algorithm>

PlainCellPainter::PlainCellPainter(const QAbstractItemView* view)
    : m_view(view),
      m_defaultDelegate(view->itemDelegate())
{
}

std::optional<PlainCellPainter::PlainCell> PlainCellPainter::PlainCellOf(const QModelIndex& index) const
{
    if (m_view->itemDelegateForIndex(index) != m_defaultDelegate)
        return std::nullopt;
    const QVariant display = index.data(Qt::DisplayRole);
    if (display.typeId() != QMetaType::QString)
        return std::nullopt;
    for (int role : {Qt::DecorationRole, Qt::CheckStateRole, Qt::FontRole, Qt::ForegroundRole, Qt::BackgroundRole})
        if (index.data(role).isValid())
            return std::nullopt;
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    return PlainCell{display.toString(), alignment.isValid() ? Qt::Alignment::fromInt(alignment.toInt())
                                                             : Qt::AlignLeft | Qt::AlignVCenter};
}

int PlainCellPainter::TextMargin(const QStyleOptionViewItem& option) const
{
    return m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, m_view) + 1;
}

std::optional<int> PlainCellPainter::Width(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const std::optional<PlainCell> plain = PlainCellOf(index);
    if (!plain)
        return std::nullopt;
    return qCeil(TextWidth(plain->text, option.font)) + 2 * TextMargin(option);
}

bool PlainCellPainter::Paint(QPainter& painter, QStyleOptionViewItem& cell, const QModelIndex& index) const
{
    const std::optional<PlainCell> plain = PlainCellOf(index);
    if (!plain)
        return false;
    const QStyle* style = m_view->style();
    cell.displayAlignment = plain->alignment;
    cell.text = plain->text;
    cell.features |= QStyleOptionViewItem::HasDisplay;
    cell.index = index;
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, &painter, m_view);

    QPalette::ColorGroup group = (cell.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const bool selected = cell.state & QStyle::State_Selected;
    painter.setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetricsF metrics(cell.font);
    const int margin = TextMargin(cell);
    // Without icon or check box the text has the whole cell, less the margins.
    const QRect textRect = cell.rect.adjusted(margin, 0, -margin, 0);
    QString text = cell.text;
    qreal width = TextWidth(text, cell.font);
    if (width > textRect.width()) {
        text = metrics.elidedText(text, cell.textElideMode, textRect.width());
        width = metrics.horizontalAdvance(text);
    }
    const QRect box =
        QStyle::alignedRect(cell.direction, cell.displayAlignment, QSizeF(width, metrics.height()).toSize(), textRect);
    painter.setFont(cell.font);
    painter.drawText(QPointF(box.left(), box.top() + qRound(metrics.ascent())), text);

    if (cell.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(cell);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &cell, m_view);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor = cell.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, m_view);
    }
    return true;
}

qreal PlainCellPainter::TextWidth(const QString& text, const QFont& font) const
{
    // Summed advances of Latin characters, which neither join nor reorder:
    // shaping the text only to place it would cost as much as drawing it.
    auto fontAdvances =
        std::find_if(m_advances.begin(), m_advances.end(), [&](const auto& entry) { return entry.first == font; });
    if (fontAdvances == m_advances.end()) {
        if (m_advances.size() >= 4) // fonts change rarely; keep the latest few
            m_advances.removeFirst();
        m_advances.append({font, {}});
        fontAdvances = m_advances.end() - 1;
    }
    QHash<char16_t, qreal>& advances = fontAdvances->second;
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const QChar c : text) {
        if (c.unicode() >= 0x0300)
            return metrics.horizontalAdvance(text);
        auto advance = advances.constFind(c.unicode());
        if (advance == advances.constEnd())
            advance = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
        width += *advance;
    }
    return width;
}
