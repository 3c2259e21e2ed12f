// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/interfaceaddresses.h"

#include <QHostAddress>
#include <QtCore>

// The bytes of the file at path; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes bytes as the whole file at path, its folder made first; dated modified when that is valid.
inline bool WriteAll(const QString& path, const QByteArray& bytes, const QDateTime& modified = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
           && (!modified.isValid() || file.setFileTime(modified, QFileDevice::FileModificationTime));
}

// Points every per-user location (settings, cache) into a fresh temporary folder made in parent, so no test
// touches the user's real files. Construct it first thing in main(), before any QCoreApplication exists.
class TestEnvironment
{
public:
    explicit TestEnvironment(const QString& parent = QDir::tempPath())
        : m_dir(parent + "/octetry-XXXXXX")
    {
        const QString root = m_dir.path();
        qputenv("HOME", QFile::encodeName(root));
        for (const QString kind : {"config", "cache", "data"}) {
            QDir().mkpath(root + "/" + kind);
            qputenv(("XDG_" + kind.toUpper() + "_HOME").toLatin1(), QFile::encodeName(root + "/" + kind));
        }
        QStandardPaths::setTestModeEnabled(true);
        // The main window asks for the news once: a closed loopback port answers at once, off the network.
        if (qEnvironmentVariableIsEmpty("OCTETRY_NEWS_URL"))
            qputenv("OCTETRY_NEWS_URL", "http://127.0.0.1:9/news/octetry-news.html");
        // The machine's own addresses, as the address menus and first start see them.
        InterfaceAddresses::SetSystem({QHostAddress("192.0.2.10"), QHostAddress("2001:db8::10")});
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
