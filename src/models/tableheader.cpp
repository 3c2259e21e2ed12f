// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/tableheader.h"

#include <QAbstractItemModel>

namespace TableHeader {

QVariant Data(const QAbstractItemModel* model, std::span<const char* const> titles, int section,
              Qt::Orientation orientation, int role, const std::function<QVariant(int row)>& rowLabel)
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= static_cast<int>(titles.size()))
            return QVariant();
        return model->metaObject()->tr(titles[static_cast<std::size_t>(section)], nullptr);
    }
    if (section < 0 || section >= model->rowCount())
        return QVariant();
    return rowLabel(section);
}

} // namespace TableHeader
