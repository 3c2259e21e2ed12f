// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/settingsfileguard.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <array>
#include <cctype>

namespace {

// Type ids whose stream holds further values: only these nest, and none of the
// program's settings is one.
constexpr std::array kNestingTypes = {QMetaType::QVariantList, QMetaType::QVariantMap, QMetaType::QVariantHash,
                                      QMetaType::QVariant};

// Reads one byte of an INI-escaped value at text[pos], as QSettings writes it:
// \0-\7 octal, \x hex, the C letter escapes, or a plain character.
int UnescapeByte(const QByteArray& text, qsizetype& pos)
{
    if (pos >= text.size())
        return -1;
    const char ch = text[pos++];
    if (ch != '\\' || pos >= text.size())
        return static_cast<unsigned char>(ch);
    static const QByteArray kLetters = "abfnrtv", kCodes = "\a\b\f\n\r\t\v";
    const char escape = text[pos++];
    if (kLetters.contains(escape))
        return kCodes[kLetters.indexOf(escape)];
    const bool hex = escape == 'x';
    if (!hex && (escape < '0' || escape > '7'))
        return static_cast<unsigned char>(escape);
    int value = hex ? 0 : escape - '0';
    const int base = hex ? 16 : 8;
    for (int digits = 0; pos < text.size() && digits < (hex ? 4 : 2); ++digits, ++pos) {
        const auto lower = static_cast<char>(std::tolower(static_cast<unsigned char>(text[pos])));
        const auto digit = static_cast<int>(QByteArrayView("0123456789abcdef").indexOf(lower));
        if (digit < 0 || digit >= base)
            break;
        value = value * base + digit;
    }
    return value & 0xff;
}

// True when some @Variant of the file's text starts with a type that holds further values.
bool HasNestedValue(const QByteArray& text)
{
    static const QByteArray kMarker = "@Variant(";
    for (qsizetype at = text.indexOf(kMarker); at >= 0; at = text.indexOf(kMarker, at + 1)) {
        if (at > 0 && text[at - 1] == '@')
            continue; // "@@" is how a string that starts with '@' is written
        qsizetype pos = at + kMarker.size();
        quint32 type = 0;
        for (int n = 0; n < 4; ++n)
            type = (type << 8) | static_cast<quint32>(UnescapeByte(text, pos) & 0xff);
        for (const QMetaType::Type nesting : kNestingTypes)
            if (type == static_cast<quint32>(nesting))
                return true;
    }
    return false;
}

const char* const kReasons[] = {
    "",
    QT_TRANSLATE_NOOP("SettingsFileGuard", "it is not a regular file"),
    QT_TRANSLATE_NOOP("SettingsFileGuard", "it is larger than 64 KiB"),
    QT_TRANSLATE_NOOP("SettingsFileGuard", "a value in it is nested deeper than Octetry's own settings"),
};

} // namespace

QString SettingsFileGuard::UserFilePath()
{
    // QSettings' own rule on XDG systems, without opening the file as constructing one would.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + QCoreApplication::organizationName() + QLatin1Char('/') + QCoreApplication::applicationName()
           + QStringLiteral(".conf");
}

SettingsFileGuard::Problem SettingsFileGuard::Inspect(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return NoProblem;
    if (!info.isFile())
        return NotRegularFile;
    if (info.size() > kMaxFileSize)
        return TooLarge;
    QFile file(path);
    // One that cannot be read is left to QSettings, which reads it as empty.
    if (!file.open(QIODevice::ReadOnly))
        return NoProblem;
    const QByteArray text = file.read(kMaxFileSize + 1);
    if (text.size() > kMaxFileSize)
        return TooLarge;
    return HasNestedValue(text) ? TooDeeplyNested : NoProblem;
}

QString SettingsFileGuard::SetAsideUnreadable(const QDate& today)
{
    const QString path = UserFilePath();
    const Problem problem = Inspect(path);
    if (problem == NoProblem)
        return {};
    const QString base = path + QStringLiteral(".unreadable-") + today.toString(Qt::ISODate);
    QString aside = base;
    for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
        aside = base + QLatin1Char('-') + QString::number(n);
    const QString reason = QCoreApplication::translate("SettingsFileGuard", kReasons[problem]);
    if (QFile::rename(path, aside))
        return QCoreApplication::translate("SettingsFileGuard",
                                           "The settings file %1 was not read: %2. It has been renamed to %3, "
                                           "and Octetry starts with its first settings.")
            .arg(QDir::toNativeSeparators(path), reason, QDir::toNativeSeparators(aside));
    // Where it cannot be moved, this run's settings live and die in a folder of their own.
    static QTemporaryDir runFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, runFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, runFolder.path());
    return QCoreApplication::translate("SettingsFileGuard",
                                       "The settings file %1 was not read: %2. It could not be renamed, so "
                                       "Octetry starts with its first settings and keeps no changes this time.")
        .arg(QDir::toNativeSeparators(path), reason);
}
