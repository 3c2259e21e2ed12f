// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/brandingutil.h"
#include "common/datarows.h"
#include "common/testenvironment.h"
#include "controllers/hostlookup.h"
#include "settings/octetrysettings.h"

#include <QHostInfo>
#include <QtTest>
#include <QtWidgets>

// Replaces the whole text of edit as a user would, key by key; an empty text deletes the selection.
inline void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    text.isEmpty() ? QTest::keyClick(edit, Qt::Key_Delete) : QTest::keyClicks(edit, text);
}

// Chooses the entry of a mask list that ends in "(/maskBits)".
inline void ChooseMaskBits(QComboBox* comboBox, int maskBits)
{
    comboBox->setCurrentIndex(comboBox->findText(QString("(/%1)").arg(maskBits), Qt::MatchEndsWith));
}

// A mask list as the user reads its "(/n)" entries: how many, the first, last and chosen length.
inline QString MaskListText(const QComboBox* comboBox)
{
    auto bits = [comboBox](int index) { return comboBox->itemText(index).section("(/", 1).chopped(1); };
    const int chosen = comboBox->currentIndex();
    return chosen < 0
               ? "no mask chosen"
               : QString("%1 masks /%2-/%3, /%4 chosen")
                     .arg(QString::number(comboBox->count()), bits(0), bits(comboBox->count() - 1), bits(chosen));
}

// While it lives, closes each message box that opens, counts them and keeps the title and text of the last.
struct MessageBoxCloser
{
    MessageBoxCloser()
    {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                title = box->windowTitle(), text = box->text(), ++count, box->close();
        });
        timer.start(20);
    }
    QTimer timer;
    QString title, text;
    int count = 0;
};

// The suites' resolver: their host names, answered on a later turn of the event loop as a real
// lookup is, without the machine's resolver; every other name is unknown.
inline void FakeResolve(const QString& name, QObject* context, const HostLookup::Answer& answer)
{
    static const QHash<QString, QStringList> kHosts = {{"localhost", {"::1", "127.0.0.1"}},
                                                       {"multi.test", {"2001:db8::7", "192.0.2.7", "192.0.2.8"}},
                                                       {"ipv4.test", {"192.0.2.9"}}};
    QHostInfo info;
    const QStringList addresses = QHostAddress(name).isNull() ? kHosts.value(name) : QStringList{name};
    for (const QString& address : addresses)
        info.setAddresses(info.addresses() << QHostAddress(address));
    if (addresses.isEmpty())
        info.setError(QHostInfo::HostNotFound), info.setErrorString("Host not found");
    QTimer::singleShot(0, context, [answer, info] { answer(info); });
}

// Waits until the lookup that edit started, if any, has been answered.
inline void AwaitLookup(const QLineEdit* edit)
{
    QTRY_VERIFY(edit->parentWidget()->findChild<QLabel*>("lookupLabel")->isHidden());
}

// main() of a real-window test: fresh per-user files, the program's identity, any set-up given, then the test object.
#define OCTETRY_WINDOW_TEST_MAIN(TestObject, ...)                                                                      \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        TestEnvironment environment;                                                                                   \
        QApplication app(argc, argv);                                                                                  \
        BrandingUtil::SetApplicationIdentity();                                                                        \
        HostLookup::SetResolver(FakeResolve);                                                                          \
        __VA_OPT__(__VA_ARGS__;)                                                                                       \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
