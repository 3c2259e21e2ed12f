// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/largetableview.h"

#include "widgets/largetableheaders.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <limits>

LargeTableView::LargeTableView(QWidget* parent)
    : QAbstractItemView(parent),
      m_cellPainter(this),
      m_header(new LargeTableHeaders::ColumnHeader(this)),
      m_rowNumbers(new LargeTableHeaders::RowNumbers(this, false)),
      m_corner(new LargeTableHeaders::RowNumbers(this, true)),
      m_rowHeight(style()->pixelMetric(QStyle::PM_HeaderDefaultSectionSizeVertical, nullptr, this))
{
    // Cells hold numbers and addresses, where shaping changes nothing: it was
    // a third of the time each repaint took.
    QFont tableFont = font();
    tableFont.setStyleStrategy(QFont::PreferNoShaping);
    setFont(tableFont);
    m_header->setSectionsClickable(true);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    connect(m_header, &QHeaderView::sectionMoved, this, [this] { viewport()->update(); });
    connect(m_header, &QHeaderView::sectionPressed, this, &LargeTableView::SelectColumn);
    setSelectionBehavior(SelectItems);
    setSelectionMode(ExtendedSelection);
}

void LargeTableView::setModel(QAbstractItemModel* model)
{
    QAbstractItemView::setModel(model);
    // Models that renumber their rows in place change only these texts; a
    // model given up no longer does.
    disconnect(m_headerDataConnection);
    if (model)
        m_headerDataConnection =
            connect(model, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation orientation) {
                if (orientation == Qt::Vertical) {
                    updateGeometries();
                    m_rowNumbers->update();
                }
            });
    m_rowNumbers->update();
}

void LargeTableView::setSelectionModel(QItemSelectionModel* selectionModel)
{
    QAbstractItemView::setSelectionModel(selectionModel);
    m_header->SetModels(model(), selectionModel);
    connect(selectionModel, &QItemSelectionModel::selectionChanged, m_rowNumbers, qOverload<>(&QWidget::update));
    connect(selectionModel, &QItemSelectionModel::selectionChanged, m_header->viewport(),
            qOverload<>(&QWidget::update));
}

QHeaderView* LargeTableView::horizontalHeader() const
{
    return m_header;
}

void LargeTableView::setRowHeight(int height)
{
    m_rowHeight = std::max(1, height);
    updateGeometries();
    viewport()->update();
}

int LargeTableView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int LargeTableView::pageRowCount() const
{
    return std::max(1, viewport()->height() / m_rowHeight);
}

int LargeTableView::RowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

qint64 LargeTableView::RowAt(int y) const
{
    const qint64 offset = y < 0 ? (y - m_rowHeight + 1) / m_rowHeight : y / m_rowHeight;
    return firstVisibleRow() + offset;
}

int LargeTableView::RowY(qint64 row) const
{
    // Far rows only need to lie beyond the edges, on the right side.
    constexpr qint64 limit = std::numeric_limits<int>::max() / 2;
    return static_cast<int>(std::clamp((row - firstVisibleRow()) * m_rowHeight, -limit, limit));
}

int LargeTableView::LastShownRow() const
{
    return static_cast<int>(std::min<qint64>(RowCount() - 1, static_cast<qint64>(firstVisibleRow()) + pageRowCount()));
}

void LargeTableView::resizeColumnsToContents()
{
    FitColumns(false);
}

void LargeTableView::SetColumnsShareWidth(bool share)
{
    m_shareWidth = share;
    FitColumns(true);
}

void LargeTableView::FitColumns(bool growOnly)
{
    const int count = m_header->count();
    m_fittedWidths.resize(count);
    m_naturalWidths.resize(count);
    QList<bool> refitted(count, false);
    for (int column = 0; column < count; ++column) {
        if (m_header->isSectionHidden(column) || (growOnly && m_header->sectionSize(column) != m_fittedWidths[column]))
            continue;
        const int width = std::max(sizeHintForColumn(column), m_header->sectionSizeHint(column));
        m_naturalWidths[column] = growOnly ? std::max(m_naturalWidths[column], width) : width;
        m_fittedWidths[column] = m_naturalWidths[column];
        refitted[column] = true;
    }
    if (m_shareWidth)
        ShareWidth(refitted);
    for (int column = 0; column < count; ++column) {
        if (refitted[column] && m_header->sectionSize(column) != m_fittedWidths[column])
            m_header->resizeSection(column, m_fittedWidths[column]);
    }
}

void LargeTableView::ShareWidth(const QList<bool>& refitted)
{
    int excess = -viewport()->width();
    for (int column = 0; column < m_header->count(); ++column) {
        if (!m_header->isSectionHidden(column))
            excess += refitted[column] ? m_fittedWidths[column] : m_header->sectionSize(column);
    }
    // The last columns give way first: the first ones name the rows.
    for (int column = m_header->count() - 1; column >= 0 && excess > 0; --column) {
        if (!refitted[column])
            continue;
        const int cut = std::min(excess, std::max(0, m_fittedWidths[column] - m_header->sectionSizeHint(column)));
        m_fittedWidths[column] -= cut;
        excess -= cut;
    }
}

QRect LargeTableView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || isIndexHidden(index))
        return {};
    return {m_header->sectionViewportPosition(index.column()), RowY(index.row()), m_header->sectionSize(index.column()),
            m_rowHeight};
}

void LargeTableView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.parent() != rootIndex())
        return;
    UpdateScrollRanges();
    const qint64 row = index.row();
    const qint64 page = pageRowCount();
    qint64 first = firstVisibleRow();
    switch (hint) {
    case PositionAtTop:
        first = row;
        break;
    case PositionAtBottom:
        first = row - page + 1;
        break;
    case PositionAtCenter:
        first = row - (viewport()->height() - m_rowHeight) / 2 / m_rowHeight;
        break;
    case EnsureVisible:
        if (row < first)
            first = row;
        else if (row >= first + page)
            first = row - page + 1;
        break;
    }
    verticalScrollBar()->setValue(static_cast<int>(std::clamp<qint64>(first, 0, verticalScrollBar()->maximum())));

    // Columns scroll by pixels: bring the cell's column into view.
    const int left = m_header->sectionPosition(index.column());
    const int right = left + m_header->sectionSize(index.column());
    QScrollBar* bar = horizontalScrollBar();
    if (left < bar->value())
        bar->setValue(left);
    else if (right > bar->value() + viewport()->width())
        bar->setValue(std::min(left, right - viewport()->width()));
}

QModelIndex LargeTableView::indexAt(const QPoint& point) const
{
    const qint64 row = RowAt(point.y());
    const int column = m_header->logicalIndexAt(point.x());
    if (point.y() < 0 || row >= RowCount() || column < 0)
        return {};
    return model()->index(static_cast<int>(row), column, rootIndex());
}

int LargeTableView::sizeHintForRow(int) const
{
    return m_rowHeight;
}

int LargeTableView::sizeHintForColumn(int column) const
{
    // The rows on screen only: the base class would measure every row.
    if (!model())
        return -1;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = -1;
    for (int row = firstVisibleRow(), last = LastShownRow(); row <= last; ++row) {
        const QModelIndex index = model()->index(row, column, rootIndex());
        const std::optional<int> plain = m_cellPainter.Width(option, index);
        width = std::max(width, plain ? *plain : itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return width < 0 ? width : width + 1; // the grid line
}

void LargeTableView::keyboardSearch(const QString& search)
{
    // The base class may read every row looking for a match; only the rows
    // of a small model are searched.
    constexpr int searchedRows = 4096;
    if (RowCount() <= searchedRows)
        QAbstractItemView::keyboardSearch(search);
}

void LargeTableView::reset()
{
    QAbstractItemView::reset();
    // Laying out now costs nothing per row, and spares the second repaint the
    // deferred layout would cause.
    doItemsLayout();
}

void LargeTableView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    if (topLeft == bottomRight)
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    else
        viewport()->update();
}

QModelIndex LargeTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const int rows = RowCount();
    const int columns = m_header->count();
    if (rows == 0 || columns == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(firstVisibleRow(), m_header->logicalIndex(0), rootIndex());

    qint64 row = current.row();
    int visual = m_header->visualIndex(current.column());
    int step = 0; // the direction to look for a shown column
    const bool control = modifiers & Qt::ControlModifier;
    switch (cursorAction) {
    case MoveUp:
        --row;
        break;
    case MoveDown:
        ++row;
        break;
    case MovePageUp:
        row -= pageRowCount();
        break;
    case MovePageDown:
        row += pageRowCount();
        break;
    case MoveHome:
        visual = 0;
        step = 1;
        if (control)
            row = 0;
        break;
    case MoveEnd:
        visual = columns - 1;
        step = -1;
        if (control)
            row = rows - 1;
        break;
    case MoveLeft:
    case MovePrevious:
        --visual;
        step = -1;
        break;
    case MoveRight:
    case MoveNext:
        ++visual;
        step = 1;
        break;
    }
    while (step != 0 && visual >= 0 && visual < columns && m_header->isSectionHidden(m_header->logicalIndex(visual)))
        visual += step;
    if (visual < 0 || visual >= columns)
        visual = m_header->visualIndex(current.column());
    return model()->index(static_cast<int>(std::clamp<qint64>(row, 0, rows - 1)), m_header->logicalIndex(visual),
                          rootIndex());
}

int LargeTableView::horizontalOffset() const
{
    return m_header->offset();
}

int LargeTableView::verticalOffset() const
{
    return static_cast<int>(
        std::min<qint64>(static_cast<qint64>(firstVisibleRow()) * m_rowHeight, std::numeric_limits<int>::max()));
}

bool LargeTableView::isIndexHidden(const QModelIndex& index) const
{
    return m_header->isSectionHidden(index.column());
}

void LargeTableView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!model() || !selectionModel())
        return;
    const int rows = RowCount();
    const QModelIndex current = currentIndex();
    qint64 top = RowAt(rect.top());
    qint64 bottom = RowAt(rect.bottom());
    int left = m_header->visualIndexAt(rect.left());
    int right = m_header->visualIndexAt(rect.right());
    if ((command & QItemSelectionModel::Current) && m_anchor.isValid() && current.isValid()) {
        top = m_anchor.row();
        bottom = current.row();
        left = m_header->visualIndex(m_anchor.column());
        right = m_header->visualIndex(current.column());
    }
    if (top > bottom)
        std::swap(top, bottom);
    if (left > right)
        std::swap(left, right);
    top = std::max<qint64>(top, 0);
    bottom = std::min<qint64>(bottom, rows - 1);
    if (left < 0)
        left = 0;
    if (right < 0)
        right = m_header->count() - 1;
    if (rows == 0 || top > bottom || left > right) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    // Visual columns may be reordered: select each logical run separately.
    QItemSelection selection;
    for (int visual = left; visual <= right; ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(column))
            selection.merge(QItemSelection(model()->index(static_cast<int>(top), column, rootIndex()),
                                           model()->index(static_cast<int>(bottom), column, rootIndex())),
                            QItemSelectionModel::Select);
    }
    selectionModel()->select(selection, command);
}

QRegion LargeTableView::visualRegionForSelection(const QItemSelection& selection) const
{
    const qint64 first = firstVisibleRow();
    const qint64 last = first + pageRowCount();
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || range.bottom() < first || range.top() > last)
            continue;
        const qint64 top = std::max<qint64>(range.top(), first);
        const qint64 bottom = std::min<qint64>(range.bottom(), last);
        for (int column = range.left(); column <= range.right(); ++column)
            if (!m_header->isSectionHidden(column))
                region += QRect(m_header->sectionViewportPosition(column), RowY(top), m_header->sectionSize(column),
                                static_cast<int>(bottom - top + 1) * m_rowHeight);
    }
    return region;
}

QItemSelectionModel::SelectionFlags LargeTableView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QAbstractItemView::selectionCommand(index, event);
    const bool starts = event && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress);
    if (starts && !(command & QItemSelectionModel::Current))
        m_anchor = index;
    else if (starts && !m_anchor.isValid())
        m_anchor = currentIndex();
    return command;
}

void LargeTableView::updateGeometries()
{
    if (m_inGeometryUpdate)
        return;
    m_inGeometryUpdate = true;
    const int left = m_rowNumbers->FittingWidth();
    const int top = m_header->isHidden() ? 0 : m_header->sizeHint().height();
    // Setting the margins lays the scroll bars out again and repaints them,
    // even when nothing moved.
    if (const QMargins margins(left, top, 0, 0); viewportMargins() != margins)
        setViewportMargins(margins);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - top, area.width(), top);
    m_rowNumbers->setGeometry(area.left() - left, area.top(), left, area.height());
    m_corner->setGeometry(area.left() - left, area.top() - top, left, top);
    UpdateScrollRanges();
    m_inGeometryUpdate = false;
    QAbstractItemView::updateGeometries();
    // The toolkit shows or hides a scroll bar whose range changed on a queued
    // call, after the window has painted, and then paints again: lay the bars
    // out now instead, so that a change of size paints once.
    const auto misplaced = [this](const QScrollBar* bar, Qt::ScrollBarPolicy policy) {
        const bool needed =
            policy == Qt::ScrollBarAlwaysOn || (policy == Qt::ScrollBarAsNeeded && bar->minimum() < bar->maximum());
        return bar->parentWidget()->isVisibleTo(this) != needed;
    };
    if (isVisible()
        && (misplaced(verticalScrollBar(), verticalScrollBarPolicy())
            || misplaced(horizontalScrollBar(), horizontalScrollBarPolicy()))) {
        QEvent request(QEvent::LayoutRequest);
        QAbstractItemView::event(&request);
    }
}

void LargeTableView::UpdateScrollRanges()
{
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, RowCount() - pageRowCount()));
    vertical->setPageStep(pageRowCount());
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, m_header->length() - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(std::max(1, m_rowHeight));
}

void LargeTableView::scrollContentsBy(int dx, int dy)
{
    if (dx != 0) {
        m_header->setOffset(horizontalScrollBar()->value());
        viewport()->scroll(dx, 0);
    }
    if (dy != 0) {
        viewport()->update();
        m_rowNumbers->update();
        FitColumns(true);
    }
}

void LargeTableView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event);
    FitColumns(true);
}

void LargeTableView::paintEvent(QPaintEvent* event)
{
    const int rows = RowCount();
    if (rows == 0)
        return;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const bool focus = hasFocus() || viewport()->hasFocus();
    const QModelIndex current = currentIndex();
    const QItemSelectionModel* selection = selectionModel();
    const QRect area = event->rect();
    const qint64 firstRow = std::max<qint64>(0, RowAt(area.top()));
    const qint64 lastRow = std::min<qint64>(rows - 1, RowAt(area.bottom()));
    const int grid = style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this);
    const QPen gridPen(QColor::fromRgba(static_cast<QRgb>(grid)), 0);
    int right = 0;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        const int x = m_header->sectionViewportPosition(column);
        const int width = m_header->sectionSize(column);
        if (m_header->isSectionHidden(column) || x + width <= area.left() || x > area.right())
            continue;
        right = std::max(right, x + width);
        for (qint64 row = firstRow; row <= lastRow; ++row) {
            const QModelIndex index = model()->index(static_cast<int>(row), column, rootIndex());
            QStyleOptionViewItem cell = option;
            cell.rect = QRect(x, RowY(row), width - 1, m_rowHeight - 1);
            cell.features.setFlag(QStyleOptionViewItem::Alternate, alternatingRowColors() && (row & 1));
            if (selection && selection->isSelected(index))
                cell.state |= QStyle::State_Selected;
            if (focus && index == current)
                cell.state |= QStyle::State_HasFocus;
            if (!isActiveWindow())
                cell.palette.setCurrentColorGroup(QPalette::Inactive);
            style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cell, &painter, this);
            if (!m_cellPainter.Paint(painter, cell, index))
                itemDelegateForIndex(index)->paint(&painter, cell, index);
        }
        painter.setPen(gridPen);
        painter.drawLine(x + width - 1, RowY(firstRow), x + width - 1, RowY(lastRow + 1) - 1);
    }
    painter.setPen(gridPen);
    for (qint64 row = firstRow; row <= lastRow; ++row)
        painter.drawLine(0, RowY(row + 1) - 1, right - 1, RowY(row + 1) - 1);
}

void LargeTableView::SelectRows(int row, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex index = model()->index(row, 0, rootIndex());
    const auto rows = QItemSelectionModel::Rows;
    if ((modifiers & Qt::ShiftModifier) && m_anchor.isValid()) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        selectionModel()->select(
            QItemSelection(model()->index(m_anchor.row(), 0, rootIndex()), index),
            ((modifiers & Qt::ControlModifier) ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect)
                | rows);
        return;
    }
    m_anchor = index;
    selectionModel()->setCurrentIndex(
        index,
        ((modifiers & Qt::ControlModifier) ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect) | rows);
}

void LargeTableView::SelectColumn(int column)
{
    const int rows = RowCount();
    if (rows == 0)
        return;
    const QModelIndex top = model()->index(0, column, rootIndex());
    m_anchor = top;
    selectionModel()->setCurrentIndex(top, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(top, model()->index(rows - 1, column, rootIndex())),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Columns);
}
