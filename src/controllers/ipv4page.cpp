#include "controllers/ipv4page.h"

#include "address/ipv4address.h"
#include "controllers/tabcontrollerutil.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace IPv4Page {
QString DottedDecimal(const IPv4Address& address)
{
    return QString::fromStdString(address.ToString(IPv4Address::DottedDecimal));
}

void LinkComboBoxes(std::span<QComboBox* const> comboBoxes)
{
    for (QComboBox* from : comboBoxes)
        for (QComboBox* to : comboBoxes)
            if (from != to)
                QObject::connect(from, &QComboBox::currentIndexChanged, to, &QComboBox::setCurrentIndex);
}

void ShowAddressRow(QTableView* tableView, const QModelIndex& index)
{
    tableView->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (index.isValid()) {
        // The reset lays the view out only later; without this the scroll
        // would be clamped to the previous table's length.
        tableView->doItemsLayout();
        tableView->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    TabControllerUtil::ResizeColumnsToContents(tableView);
}
} // namespace IPv4Page
