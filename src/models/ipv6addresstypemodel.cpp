// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ipv6addresstypemodel.h"

#include "ipv6/ipv6addresstypes.h"

#include <QStringList>

#include <array>

namespace {
enum Column
{
    NameColumn,
    PatternColumn,
    NotesColumn,
    ColumnCount
};

const std::array<const char*, ColumnCount> kHeaders = {
    QT_TRANSLATE_NOOP("IPv6AddressTypeModel", "Name"),
    QT_TRANSLATE_NOOP("IPv6AddressTypeModel", "Pattern"),
    QT_TRANSLATE_NOOP("IPv6AddressTypeModel", "Notes"),
};

const IPv6AddressTypeNode::List& SiblingsOf(const IPv6AddressTypeNode* parent)
{
    return parent != nullptr ? parent->GetChildren() : GetIPv6AddressTypeRoots();
}

QString NotesOf(const IPv6AddressTypeNode& node)
{
    const IPv6AddressTypeInfo info = GetIPv6AddressTypeInfo(
        node.GetTypeID(), IPv6AddressTypeInfo::PatternPart | IPv6AddressTypeInfo::DeprecatedPart);
    QStringList notes;
    if (info.pattern.IsNone())
        notes << IPv6AddressTypeModel::tr("Abstract");
    if (info.deprecated)
        notes << IPv6AddressTypeModel::tr("Deprecated");
    return notes.join(QStringLiteral("; "));
}
} // namespace

QModelIndex IPv6AddressTypeModel::index(int row, int column, const QModelIndex& parent) const
{
    const IPv6AddressTypeNode::List& siblings = SiblingsOf(NodeOf(parent));
    if (row < 0 || row >= static_cast<int>(siblings.size()) || column < 0 || column >= columnCount(parent))
        return QModelIndex();
    // The nodes are never written through the index; Qt only offers a non-const pointer.
    return createIndex(row, column, const_cast<IPv6AddressTypeNode*>(siblings[static_cast<std::size_t>(row)]));
}

QModelIndex IPv6AddressTypeModel::parent(const QModelIndex& index) const
{
    const IPv6AddressTypeNode* node = NodeOf(index);
    return node != nullptr ? IndexOf(node->GetParent()) : QModelIndex();
}

int IPv6AddressTypeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != NameColumn)
        return 0;
    return static_cast<int>(SiblingsOf(NodeOf(parent)).size());
}

int IPv6AddressTypeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant IPv6AddressTypeModel::data(const QModelIndex& index, int role) const
{
    const IPv6AddressTypeNode* node = NodeOf(index);
    if (node == nullptr || role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case NameColumn:
        return QString::fromStdString(node->GetName());
    case PatternColumn:
        return QString::fromStdString(node->GetPattern().ToString());
    case NotesColumn:
        return NotesOf(*node);
    default:
        return QVariant();
    }
}

QVariant IPv6AddressTypeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QVariant();
    return tr(kHeaders[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags IPv6AddressTypeModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    const IPv6AddressTypeNode* node = NodeOf(index);
    if (node != nullptr && node->IsAbstract())
        flags &= ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return flags;
}

QModelIndex IPv6AddressTypeModel::IndexOf(const IPv6AddressTypeNode* node) const
{
    if (node == nullptr)
        return QModelIndex();
    return createIndex(node->GetRow(), NameColumn, const_cast<IPv6AddressTypeNode*>(node));
}

const IPv6AddressTypeNode* IPv6AddressTypeModel::NodeOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<const IPv6AddressTypeNode*>(index.internalPointer()) : nullptr;
}
