#include "widgets/largetableview.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionHeader>

#include <algorithm>
#include <limits>

// The row-number column, or with no rows to number the corner above it; both
// look like header sections and select what they head when pressed.
class LargeTableView::RowNumbers : public QWidget
{
public:
    RowNumbers(LargeTableView* view, bool corner)
        : QWidget(view),
          m_view(view),
          m_corner(corner)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override
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
        const int height = m_view->m_rowHeight;
        const int rows = m_view->RowCount();
        const QItemSelectionModel* selection = m_view->selectionModel();
        const QFont font = painter.font();
        for (qint64 row = m_view->RowAt(event->rect().top()); row < rows && m_view->RowY(row) <= event->rect().bottom();
             ++row) {
            const int r = static_cast<int>(row);
            QStyleOptionHeader section = option;
            section.rect = QRect(0, m_view->RowY(row), width(), height);
            section.section = r;
            section.text = m_view->RowNumberText(r);
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

    void mousePressEvent(QMouseEvent* event) override
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

private:
    LargeTableView* m_view;
    bool m_corner;
};

namespace {

// Column titles highlighted from the table's selection ranges. The toolkit's
// header asks its selection model whether each whole column is selected,
// which reads every row; it is given an empty one of its own instead.
class ColumnHeader : public QHeaderView
{
public:
    explicit ColumnHeader(QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
    }

    void SetModels(QAbstractItemModel* model, const QItemSelectionModel* selection)
    {
        setModel(model);
        QItemSelectionModel* previous = selectionModel();
        setSelectionModel(new QItemSelectionModel(model, this));
        delete previous;
        m_selection = selection;
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
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

private:
    QPointer<const QItemSelectionModel> m_selection;
};

} // namespace

LargeTableView::LargeTableView(QWidget* parent)
    : QAbstractItemView(parent),
      m_defaultDelegate(itemDelegate()),
      m_header(new ColumnHeader(this)),
      m_rowNumbers(new RowNumbers(this, false)),
      m_corner(new RowNumbers(this, true)),
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
    // Models that renumber their rows in place change only these texts.
    if (model)
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
    static_cast<ColumnHeader*>(m_header)->SetModels(model(), selectionModel);
    connect(selectionModel, &QItemSelectionModel::selectionChanged, m_rowNumbers, qOverload<>(&QWidget::update));
    connect(selectionModel, &QItemSelectionModel::selectionChanged, m_header->viewport(),
            qOverload<>(&QWidget::update));
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

QString LargeTableView::RowNumberText(int row) const
{
    return model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
}

int LargeTableView::RowNumberWidth() const
{
    // The widest of the first, the last and the shown rows' numbers, in bold
    // as when highlighted: numbers grow down the table, so the width stays put
    // while scrolling.
    const int rows = RowCount();
    QStyleOptionHeader option;
    option.initFrom(m_rowNumbers);
    option.orientation = Qt::Vertical;
    QFont bold = m_rowNumbers->font();
    bold.setBold(true);
    option.fontMetrics = QFontMetrics(bold);
    qreal widest = -1;
    const auto consider = [&](int row) {
        QString text = RowNumberText(row);
        if (const qreal width = TextWidth(text, bold); width > widest) {
            widest = width;
            option.section = row;
            option.text = std::move(text);
        }
    };
    if (rows > 0) {
        consider(0);
        consider(rows - 1);
    }
    for (int row = firstVisibleRow(), last = LastShownRow(); row <= last; ++row)
        consider(row);
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), m_rowNumbers).width();
}

void LargeTableView::resizeColumnsToContents()
{
    FitColumns(false);
}

void LargeTableView::FitColumns(bool growOnly)
{
    m_fittedWidths.resize(m_header->count());
    for (int column = 0; column < m_header->count(); ++column) {
        if (m_header->isSectionHidden(column))
            continue;
        int& fitted = m_fittedWidths[column];
        const int width = std::max(sizeHintForColumn(column), m_header->sectionSizeHint(column));
        if (growOnly && (m_header->sectionSize(column) != fitted || width <= fitted))
            continue;
        fitted = width;
        m_header->resizeSection(column, width);
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
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1;
    int width = -1;
    for (int row = firstVisibleRow(), last = LastShownRow(); row <= last; ++row) {
        const QModelIndex index = model()->index(row, column, rootIndex());
        const std::optional<PlainCell> plain = PlainCellOf(index);
        width = std::max(width, plain ? qCeil(TextWidth(plain->text, option.font)) + 2 * margin
                                      : itemDelegateForIndex(index)->sizeHint(option, index).width());
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
    const int left = RowNumberWidth();
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
            if (!PaintPlainCell(painter, cell, index))
                itemDelegateForIndex(index)->paint(&painter, cell, index);
        }
        painter.setPen(gridPen);
        painter.drawLine(x + width - 1, RowY(firstRow), x + width - 1, RowY(lastRow + 1) - 1);
    }
    painter.setPen(gridPen);
    for (qint64 row = firstRow; row <= lastRow; ++row)
        painter.drawLine(0, RowY(row + 1) - 1, right - 1, RowY(row + 1) - 1);
}

std::optional<LargeTableView::PlainCell> LargeTableView::PlainCellOf(const QModelIndex& index) const
{
    // The default delegate lays out every cell's text as a paragraph, which
    // costs most of a repaint. A cell of plain text is measured and drawn here
    // as it would be: its panel, the text in the palette's colour, the focus frame.
    if (itemDelegateForIndex(index) != m_defaultDelegate)
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

bool LargeTableView::PaintPlainCell(QPainter& painter, QStyleOptionViewItem& cell, const QModelIndex& index) const
{
    const std::optional<PlainCell> plain = PlainCellOf(index);
    if (!plain)
        return false;
    cell.displayAlignment = plain->alignment;
    cell.text = plain->text;
    cell.features |= QStyleOptionViewItem::HasDisplay;
    cell.index = index;
    style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, &painter, this);

    QPalette::ColorGroup group = (cell.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const bool selected = cell.state & QStyle::State_Selected;
    painter.setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetricsF metrics(cell.font);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, this) + 1;
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
        focus.rect = style()->subElementRect(QStyle::SE_ItemViewItemFocusRect, &cell, this);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor = cell.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    return true;
}

qreal LargeTableView::TextWidth(const QString& text, const QFont& font) const
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
