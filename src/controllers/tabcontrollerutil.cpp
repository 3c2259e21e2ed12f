// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/tabcontrollerutil.h"

#include "address/interfaceaddresses.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "models/addresstext.h"
#include "settings/octetrysettings.h"
#include "widgets/largetableview.h"
#include "widgets/themecolors.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPointer>
#include <QTextBrowser>
#include <QToolButton>

#include <memory>

namespace {
// Leaves the address line edit, its container with the tool button and the
// label naming it usable, so that a new address can always be entered.
bool IsAddressEntry(QWidget* widget, QLineEdit* addressEdit)
{
    if (addressEdit == nullptr)
        return false;
    if (widget == addressEdit || widget == addressEdit->parentWidget())
        return true;
    const QLabel* label = qobject_cast<QLabel*>(widget);
    return label != nullptr && label->buddy() == addressEdit;
}

void ClearWidget(QWidget* widget)
{
    if (QComboBox* comboBox = qobject_cast<QComboBox*>(widget))
        comboBox->setCurrentIndex(-1);
    else if (QTextBrowser* textBrowser = qobject_cast<QTextBrowser*>(widget))
        textBrowser->setPlainText(QString());
    else if (QLineEdit* lineEdit = qobject_cast<QLineEdit*>(widget))
        lineEdit->setText(QString());
}

} // namespace

TabControllerUtil* TabControllerUtil::GetInstance()
{
    // A child of the application, so it goes with it; a QObject must not
    // outlive the application, nor be built before it exists.
    static QPointer<TabControllerUtil> instance;
    if (instance.isNull()) {
        instance = new TabControllerUtil();
        instance->setParent(QCoreApplication::instance());
    }
    return instance.data();
}

void TabControllerUtil::SetupTableView(LargeTableView* tableView)
{
    tableView->setRowHeight(17);
    KeepSelectionColors(tableView);
    // A table filled while hidden was fitted to its size then; fit it again to what is shown.
    tableView->installEventFilter(GetInstance());
}

bool TabControllerUtil::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* tableView = qobject_cast<LargeTableView*>(watched))
            tableView->resizeColumnsToContents();
    }
    return QObject::eventFilter(watched, event);
}

void TabControllerUtil::KeepSelectionColors(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight, QBrush(palette.color(QPalette::Highlight)));
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText, QBrush(palette.color(QPalette::HighlightedText)));
    widget->setPalette(palette);
}

void TabControllerUtil::ShowAddressRow(LargeTableView* tableView, const QModelIndex& index)
{
    tableView->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (index.isValid()) {
        // Keyboard moves start from the address's row, not from the top.
        tableView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        tableView->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    tableView->resizeColumnsToContents();
    // Wider columns may bring a horizontal scroll bar that hides the last rows.
    if (index.isValid())
        tableView->scrollTo(index, QAbstractItemView::PositionAtCenter);
}
void TabControllerUtil::SetPageEnabled(QWidget* parent, QLineEdit* addressEdit, bool enabled)
{
    if (parent == nullptr)
        return;
    for (QObject* object : parent->children()) {
        QWidget* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || IsAddressEntry(child, addressEdit))
            continue;
        SetPageEnabled(child, addressEdit, enabled);
        child->setEnabled(enabled);
        if (!enabled)
            ClearWidget(child);
    }
}

bool TabControllerUtil::IsPasted(const QString& before, const QString& after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return after.size() - head - tail > 1;
}

QString TabControllerUtil::MaskText(const IPv4Address& mask, int maskBits)
{
    return AddressText::MaskText(mask, maskBits);
}

void TabControllerUtil::ShowNote(QLabel* label, const QString& note)
{
    label->setText(note);
    label->setVisible(!note.isEmpty());
    label->setEnabled(true);
}

void TabControllerUtil::ShowFact(QLabel* label, QLineEdit* edit, const std::string& text, const std::string& toolTip)
{
    // Setting the same text again would still repaint the field.
    if (const QString shown = QString::fromStdString(text); edit->text() != shown) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    }
    edit->setToolTip(QString::fromStdString(toolTip));
    label->setEnabled(!text.empty());
    edit->setEnabled(!text.empty());
}

QString TabControllerUtil::RangeText(const IPv4Address& first, const IPv4Address& last)
{
    return AddressText::RangeText(first, last);
}

void TabControllerUtil::ShowBitUsage(const BitUsage& bitUsage, const IPv4Address& address, const QString& caption,
                                     QLabel* label, QTextBrowser* edit, bool enabled)
{
    const BitRoleColors colors = ThemeColors::BitRoleColorsFor(QApplication::palette());
    if (label) {
        if (enabled) {
            const QString legend = QString::fromStdString(FormatBitRoleLegendHtml(bitUsage, colors));
            label->setEnabled(true);
            label->setText(legend.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, legend));
        } else {
            label->setEnabled(false);
            label->setText(caption);
        }
    }
    if (edit) {
        if (enabled) {
            edit->setEnabled(true);
            edit->setHtml(QString::fromStdString(FormatBitUsageHtml(bitUsage, address, colors)));
        } else {
            edit->setTextColor(QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
            edit->setEnabled(false);
            edit->setPlainText(QString());
        }
    }
}

const std::vector<IPv4Address>& TabControllerUtil::GetSystemIPv4Addresses()
{
    return InterfaceAddresses::System().GetIPv4();
}

const std::vector<IPv6Address>& TabControllerUtil::GetSystemIPv6Addresses()
{
    return InterfaceAddresses::System().GetIPv6();
}

QMenu* TabControllerUtil::GetSystemAddressMenu(bool ipv4)
{
    // Shared by every button of the kind and kept until the process ends.
    static QMenu* menus[2] = {nullptr, nullptr};
    QMenu*& menu = menus[ipv4 ? 0 : 1];
    if (menu)
        return menu;
    menu = new QMenu();
    TabControllerUtil* receiver = GetInstance();
    if (ipv4) {
        for (const IPv4Address& address : GetSystemIPv4Addresses()) {
            QAction* action = menu->addAction(AddressText::DottedDecimal(address));
            connect(action, &QAction::triggered, receiver, &TabControllerUtil::on_IPv4SystemAddressAction_Triggered);
        }
    } else {
        for (const IPv6Address& address : GetSystemIPv6Addresses()) {
            QAction* action =
                menu->addAction(QString::fromStdString(address.ToString(IPv6Address::CompressedNotation)));
            connect(action, &QAction::triggered, receiver, &TabControllerUtil::on_IPv6SystemAddressAction_Triggered);
        }
    }
    return menu;
}

void TabControllerUtil::SetupSystemAddressButton(QToolButton* button, bool ipv4)
{
    button->setArrowType(Qt::DownArrow);
    button->setMinimumSize(18, 18);
    button->setMaximumSize(24, 24);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    button->setText(QString());
    button->setToolTip(tr("System Addresses"));
    QMenu* menu = GetSystemAddressMenu(ipv4);
    button->setMenu(menu);
    if (menu->actions().isEmpty())
        button->setEnabled(false);
}

void TabControllerUtil::on_IPv4SystemAddressAction_Triggered()
{
    if (QAction* action = qobject_cast<QAction*>(sender()))
        OctetrySettings::Instance()->SetIPv4Address(
            IPv4Address(action->text().toStdString(), IPv4Address::DottedDecimal));
}

void TabControllerUtil::on_IPv6SystemAddressAction_Triggered()
{
    if (QAction* action = qobject_cast<QAction*>(sender()))
        OctetrySettings::Instance()->SetIPv6Address(IPv6Address(action->text().toStdString()));
}
