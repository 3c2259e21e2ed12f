// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QVariant>

#include <functional>
#include <span>

class QAbstractItemModel;

namespace TableHeader {
// The header of a table with fixed column titles (translated in model's
// class context) and rows labelled by rowLabel; no text for other roles or
// for sections outside the table.
[[nodiscard]] QVariant Data(const QAbstractItemModel* model, std::span<const char* const> titles, int section,
                            Qt::Orientation orientation, int role, const std::function<QVariant(int row)>& rowLabel);
} // namespace TableHeader
