// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

class QAbstractItemDelegate;
class QAbstractItemView;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;

// Draws a view's cells of plain text as its default delegate would: the panel,
// the text in the palette's colour, the focus frame. The delegate lays out
// every cell's text as a paragraph, which costs most of a repaint; here text
// is measured from advances kept per character and font.
class PlainCellPainter
{
public:
    // Stands in for view's delegate as it is now, its default one.
    explicit PlainCellPainter(const QAbstractItemView* view);

    // Paints index's cell into cell's rect if it is plain text; false if it is not.
    bool Paint(QPainter& painter, QStyleOptionViewItem& cell, const QModelIndex& index) const;
    // The width index's cell takes in option's font if it is plain text, else nothing.
    [[nodiscard]] std::optional<int> Width(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The width of text in font.
    [[nodiscard]] qreal TextWidth(const QString& text, const QFont& font) const;

private:
    struct PlainCell
    {
        QString text;
        Qt::Alignment alignment;
    };
    // The text of a cell that only has text and the default delegate, else nothing.
    [[nodiscard]] std::optional<PlainCell> PlainCellOf(const QModelIndex& index) const;
    // The room between a cell's edges and its text.
    [[nodiscard]] int TextMargin(const QStyleOptionViewItem& option) const;

    const QAbstractItemView* m_view;
    const QAbstractItemDelegate* m_defaultDelegate;
    // Advances of the characters measured so far, per font.
    mutable QList<std::pair<QFont, QHash<char16_t, qreal>>> m_advances;
};
