// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/policycombogroup.h"

#include <QComboBox>
#include <QIcon>

#include <utility>

PolicyComboGroup::PolicyComboGroup(std::vector<QComboBox*> comboBoxes, std::size_t valueBox)
    : m_comboBoxes(std::move(comboBoxes)),
      m_valueBox(valueBox)
{
}

void PolicyComboGroup::Link()
{
    for (QComboBox* from : m_comboBoxes)
        for (QComboBox* to : m_comboBoxes)
            if (from != to)
                QObject::connect(from, &QComboBox::currentIndexChanged, to, &QComboBox::setCurrentIndex);
}

void PolicyComboGroup::FillRows(const std::vector<QStringList>& texts, const std::vector<QVariant>& values)
{
    for (QComboBox* comboBox : m_comboBoxes) {
        comboBox->clear();
        comboBox->setMaxVisibleItems(static_cast<int>(texts.size()));
    }
    for (std::size_t row = 0; row < texts.size(); ++row) {
        for (std::size_t column = 0; column < m_comboBoxes.size(); ++column) {
            QComboBox* comboBox = m_comboBoxes[column];
            comboBox->addItem(QIcon(), texts[row].value(static_cast<qsizetype>(column)),
                              column == m_valueBox ? values[row] : QVariant());
        }
    }
}

void PolicyComboGroup::SetCurrentIndex(int index)
{
    for (QComboBox* comboBox : m_comboBoxes)
        comboBox->setCurrentIndex(index);
}

void PolicyComboGroup::SetEnabled(bool enabled)
{
    for (QComboBox* comboBox : m_comboBoxes)
        comboBox->setEnabled(enabled);
}

QList<QObject*> PolicyComboGroup::GetWidgets() const
{
    return {m_comboBoxes.begin(), m_comboBoxes.end()};
}
