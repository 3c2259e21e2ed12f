// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/quitsignalhandler.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const int quitSignals[] = {SIGTERM, SIGHUP, SIGINT};

// [0] is read by the event loop, [1] written by the signal handler.
int signalSockets[2] = {-1, -1};

void OnQuitSignal(int number)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[1], &byte, 1);
    errno = savedErrno;
}
} // namespace

QuitSignalHandler::QuitSignalHandler(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignalHandler::on_notifier_activated);

    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: a second signal is not caught, so a hung quit can still be ended.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : quitSignals)
        ::sigaction(number, &action, nullptr);
}

QuitSignalHandler::~QuitSignalHandler()
{
    if (m_notifier == nullptr)
        return;
    for (const int number : quitSignals)
        ::signal(number, SIG_DFL);
    ::close(signalSockets[0]);
    ::close(signalSockets[1]);
    signalSockets[0] = signalSockets[1] = -1;
}

void QuitSignalHandler::on_notifier_activated()
{
    char byte = 0;
    if (::read(signalSockets[0], &byte, 1) != 1)
        return;
    // Closing the windows is what File > Exit does; exit() also ends a modal
    // box's own event loop, which would otherwise keep the program running.
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}
