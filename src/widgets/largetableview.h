// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/plaincellpainter.h"

#include <QAbstractItemView>
#include <QList>
#include <QMetaObject>
#include <QPersistentModelIndex>

class QHeaderView;

namespace LargeTableHeaders {
class ColumnHeader;
class RowNumbers;
} // namespace LargeTableHeaders

// A table view whose time and memory do not grow with the number of rows, for
// models of up to 2,147,483,647 rows. The toolkit's table keeps a record per
// row in its vertical header and rebuilds them on every reset; here rows all
// have one height, are placed by arithmetic, and the row-number column is
// painted for the rows on screen only. The vertical scroll bar counts rows.
class LargeTableView : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit LargeTableView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selectionModel) override;

    // The column titles; sections can be resized, moved and hidden as in a table.
    [[nodiscard]] QHeaderView* horizontalHeader() const;
    // The height of every row in pixels.
    [[nodiscard]] int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);
    // The row shown at the top.
    [[nodiscard]] int firstVisibleRow() const;
    // The rows that fit on screen whole, at least one.
    [[nodiscard]] int pageRowCount() const;
    // Fits every column to its title and to the rows on screen.
    void resizeColumnsToContents();
    // Whether columns fitted wider than the view are narrowed to share its width,
    // the last first and each down to its title; what no longer fits is elided.
    void SetColumnsShareWidth(bool share);

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    int sizeHintForRow(int row) const override;
    int sizeHintForColumn(int column) const override;
    void keyboardSearch(const QString& search) override;
    void reset() override;
    // A change of many cells repaints what is on screen, without visiting each.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class LargeTableHeaders::RowNumbers;

    [[nodiscard]] int RowCount() const;
    // The row at viewport height y, unclamped; may lie outside the model.
    [[nodiscard]] qint64 RowAt(int y) const;
    // The viewport height of row's top, kept within the int range.
    [[nodiscard]] int RowY(qint64 row) const;
    // The last row with any part on screen.
    [[nodiscard]] int LastShownRow() const;
    void UpdateScrollRanges();
    // Fits the columns to their titles and the rows on screen. Growing only,
    // it widens the columns still at their fitted width for rows scrolled
    // into view, and leaves a width the user chose.
    void FitColumns(bool growOnly);
    // Narrows the refitted columns, last first and each down to its title, until all fit the view.
    void ShareWidth(const QList<bool>& refitted);
    void SelectRows(int row, Qt::KeyboardModifiers modifiers);
    void SelectColumn(int column);

    PlainCellPainter m_cellPainter;
    LargeTableHeaders::ColumnHeader* m_header;
    LargeTableHeaders::RowNumbers* m_rowNumbers;
    QWidget* m_corner;
    // The current model's renumbering, dropped with the model.
    QMetaObject::Connection m_headerDataConnection;
    int m_rowHeight;
    bool m_inGeometryUpdate = false;
    QList<int> m_fittedWidths;
    // The fitted widths before the columns shared the view's width.
    QList<int> m_naturalWidths;
    bool m_shareWidth = false;
    // Where a Shift-extended selection starts, in model rows: the toolkit keeps
    // it as a pixel position, which cannot reach every row of a large model.
    mutable QPersistentModelIndex m_anchor;
};
