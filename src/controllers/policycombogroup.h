// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

#include <cstddef>
#include <vector>

class QComboBox;
class QObject;

// Combo boxes that show one list of policies, a column each: a choice in any
// box moves all the others, and the items of one box hold the policies.
class PolicyComboGroup
{
public:
    // comboBoxes in column order; valueBox is the index of the one whose items hold the policies.
    PolicyComboGroup(std::vector<QComboBox*> comboBoxes, std::size_t valueBox);

    // Connects every box to every other, once.
    void Link();
    // Replaces the items by one row per policy, rowTexts giving a text per box.
    template <typename Policy, typename RowTexts>
    void Fill(const std::vector<Policy>& policies, RowTexts rowTexts)
    {
        std::vector<QStringList> texts;
        std::vector<QVariant> values;
        texts.reserve(policies.size());
        values.reserve(policies.size());
        for (const Policy& policy : policies) {
            texts.push_back(rowTexts(policy));
            values.push_back(QVariant::fromValue(policy));
        }
        FillRows(texts, values);
    }
    // Makes row index current in every box.
    void SetCurrentIndex(int index);
    // Enables or disables every box.
    void SetEnabled(bool enabled);

    // The box whose items hold the policies.
    [[nodiscard]] QComboBox* GetValueBox() const { return m_comboBoxes[m_valueBox]; }
    // Every box, in column order, for the controller's list of blocked widgets.
    [[nodiscard]] QList<QObject*> GetWidgets() const;

private:
    void FillRows(const std::vector<QStringList>& texts, const std::vector<QVariant>& values);

    std::vector<QComboBox*> m_comboBoxes;
    std::size_t m_valueBox;
};
