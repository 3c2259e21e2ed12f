// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHeaderView>
#include <QPointer>
#include <QWidget>

class LargeTableView;
class QItemSelectionModel;

// The headers of a LargeTableView: the column titles above its cells and the
// row numbers beside them.
namespace LargeTableHeaders {

// Column titles highlighted from the table's selection ranges. The toolkit's
// header asks its selection model whether each whole column is selected,
// which reads every row; it is given an empty one of its own instead.
class ColumnHeader : public QHeaderView
{
public:
    explicit ColumnHeader(QWidget* parent);

    // Titles from model, highlighted from selection.
    void SetModels(QAbstractItemModel* model, const QItemSelectionModel* selection);

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    QPointer<const QItemSelectionModel> m_selection;
};

// The row-number column, or with no rows to number the corner above it; both
// look like header sections and select what they head when pressed. Only the
// rows on screen are painted.
class RowNumbers : public QWidget
{
public:
    RowNumbers(LargeTableView* view, bool corner);

    // The widest of the first, the last and the shown rows' numbers, in bold
    // as when highlighted: numbers grow down the table, so the width stays put
    // while scrolling.
    [[nodiscard]] int FittingWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    LargeTableView* m_view;
    bool m_corner;
};

} // namespace LargeTableHeaders
