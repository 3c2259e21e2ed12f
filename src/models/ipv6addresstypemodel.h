// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractItemModel>

class IPv6AddressTypeNode;

// The fixed IPv6 type tree for item views: name, pattern and notes of each
// type; abstract types are shown greyed out and cannot be selected. Every
// index carries its tree node as internal pointer.
class IPv6AddressTypeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    // A read-only model without parent; the tree it shows never changes.
    IPv6AddressTypeModel() = default;

    // The index of (row, column) among the children of parent (the roots for an
    // invalid parent); invalid when either is out of range.
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    // The column-0 index of the parent node; invalid for a root or an invalid index.
    QModelIndex parent(const QModelIndex& index) const override;
    // The children of a column-0 parent, the four roots for an invalid one, else 0.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Always 3: name, pattern, notes.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The display text of the cell; nothing for any other role.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // "Name", "Pattern" and "Notes" for the horizontal display role.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The base flags, less selectable and enabled for abstract types.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The column-0 index of node; invalid for a null node.
    QModelIndex IndexOf(const IPv6AddressTypeNode* node) const;
    // The node of a valid index; null for an invalid one.
    static const IPv6AddressTypeNode* NodeOf(const QModelIndex& index);
};
