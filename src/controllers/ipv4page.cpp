#include "controllers/ipv4page.h"

#include "address/ipv4address.h"
#include "controllers/largetableview.h"

#include <QItemSelectionModel>

namespace IPv4Page {
QString DottedDecimal(const IPv4Address& address)
{
    return QString::fromStdString(address.ToString(IPv4Address::DottedDecimal));
}

QString WildcardText(const IPv4Address& mask)
{
    return mask.IsValid() ? DottedDecimal(IPv4Address(~mask.GetValue())) : QString();
}

void LinkComboBoxes(std::span<QComboBox* const> comboBoxes)
{
    for (QComboBox* from : comboBoxes)
        for (QComboBox* to : comboBoxes)
            if (from != to)
                QObject::connect(from, &QComboBox::currentIndexChanged, to, &QComboBox::setCurrentIndex);
}

void ShowAddressRow(LargeTableView* tableView, const QModelIndex& index)
{
    tableView->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (index.isValid()) {
        // Keyboard moves start from the address's row, not from the top.
        tableView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        tableView->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    tableView->resizeColumnsToContents();
}
} // namespace IPv4Page
