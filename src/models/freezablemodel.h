// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

class QAbstractItemModel;

// A model whose rows follow from a few values: a copy of millions of its rows
// goes on the clipboard at once, and the text is made only when pasted.
class FreezableModel
{
public:
    virtual ~FreezableModel() = default;
    // A model showing what this one shows now, unaffected by later changes.
    [[nodiscard]] virtual std::unique_ptr<QAbstractItemModel> Freeze() const = 0;
};
