#pragma once

#include "settings/octetrysettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

// Replaces the whole text of edit as a user would, key by key; an empty
// text deletes the selection.
inline void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

// The item texts of comboBox, in order.
inline QStringList ComboTexts(const QComboBox* comboBox)
{
    QStringList texts;
    for (int index = 0; index < comboBox->count(); ++index)
        texts << comboBox->itemText(index);
    return texts;
}

// How many of the store's changes caught by spy concern setting.
inline int CountSettingChanges(const QSignalSpy& spy, OctetrySettings::Setting setting)
{
    int count = 0;
    for (const QList<QVariant>& arguments : spy)
        if (arguments.at(0).value<OctetrySettings::Setting>() == setting)
            ++count;
    return count;
}
