// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/largetableheaders.h"

#include "widgets/largetableview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

#include <utility>

namespace LargeTableHeaders {

ColumnHeader::ColumnHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

void ColumnHeader::SetModels(QAbstractItemModel* model, const QItemSelectionModel* selection)
{
    setModel(model);
    QItemSelectionModel* previous = selectionModel();
    setSelectionModel(new QItemSelectionModel(model, this));
    delete previous;
    m_selection = selection;
}

void ColumnHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (!m_selection)
        return;
    const int rows = model()->rowCount(rootIndex());
    for (const QItemSelectionRange& range : m_selection->selection())
        if (range.left() <= logicalIndex && logicalIndex <= range.right()) {
            option->state |= QStyle::State_On;
            if (range.top() == 0 && range.bottom() == rows - 1)
                option->state |= QStyle::State_Sunken;
        }
}

namespace {
QString RowNumberText(const LargeTableView* view, int row)
{
    return view->model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
}
} // namespace

RowNumbers::RowNumbers(LargeTableView* view, bool corner)
    : QWidget(view),
      m_view(view),
      m_corner(corner)
{
}

int RowNumbers::FittingWidth() const
{
    const int rows = m_view->RowCount();
    QStyleOptionHeader option;
    option.initFrom(this);
    option.orientation = Qt::Vertical;
    QFont bold = font();
    bold.setBold(true);
    option.fontMetrics = QFontMetrics(bold);
    qreal widest = -1;
    const auto consider = [&](int row) {
        QString text = RowNumberText(m_view, row);
        if (const qreal width = m_view->m_cellPainter.TextWidth(text, bold); width > widest) {
            widest = width;
            option.section = row;
            option.text = std::move(text);
        }
    };
    if (rows > 0) {
        consider(0);
        consider(rows - 1);
    }
    for (int row = m_view->firstVisibleRow(), last = m_view->LastShownRow(); row <= last; ++row)
        consider(row);
    return m_view->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this).width();
}

void RowNumbers::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QStyleOptionHeader option;
    option.initFrom(this);
    option.orientation = Qt::Vertical;
    option.textAlignment = Qt::AlignRight | Qt::AlignVCenter;
    if (m_corner) {
        option.rect = rect();
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        return;
    }
    const int height = m_view->rowHeight();
    const int rows = m_view->RowCount();
    const QItemSelectionModel* selection = m_view->selectionModel();
    const QFont font = painter.font();
    for (qint64 row = m_view->RowAt(event->rect().top()); row < rows && m_view->RowY(row) <= event->rect().bottom();
         ++row) {
        const int r = static_cast<int>(row);
        QStyleOptionHeader section = option;
        section.rect = QRect(0, m_view->RowY(row), width(), height);
        section.section = r;
        section.text = RowNumberText(m_view, r);
        section.position = rows == 1       ? QStyleOptionHeader::OnlyOneSection
                           : r == 0        ? QStyleOptionHeader::Beginning
                           : r == rows - 1 ? QStyleOptionHeader::End
                                           : QStyleOptionHeader::Middle;
        const bool highlighted = selection && selection->rowIntersectsSelection(r, m_view->rootIndex());
        if (highlighted)
            section.state |= QStyle::State_On;
        QFont sectionFont = font;
        sectionFont.setBold(highlighted);
        painter.setFont(sectionFont);
        style()->drawControl(QStyle::CE_Header, &section, &painter, this);
    }
}

void RowNumbers::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_corner) {
        m_view->selectAll();
        return;
    }
    const qint64 row = m_view->RowAt(event->position().toPoint().y());
    if (row >= 0 && row < m_view->RowCount())
        m_view->SelectRows(static_cast<int>(row), event->modifiers());
}

} // namespace LargeTableHeaders
