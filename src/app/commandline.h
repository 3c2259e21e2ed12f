// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: the window, perhaps opened on an address,
// or a text to print and an exit status.
class CommandLine
{
public:
    // The page an address argument opens the window on.
    enum class Page
    {
        None,        // no argument: the page of the last run
        Conversions, // an IPv4 address
        Subnets,     // an IPv4 prefix, "a/n" or "a m.m.m.m"
        IPv6,        // an IPv6 address
        IPv6Subnets  // an IPv6 prefix
    };

    // Reads arguments (the program's name first, the toolkit's own options already taken out).
    [[nodiscard]] static CommandLine Parse(const QStringList& arguments);

    // Whether the program ends at once, printing output or error, instead of opening the window.
    [[nodiscard]] bool Exits() const { return exitCode >= 0; }

    // 0 after --help or --version, 2 for a usage error; -1 to open the window.
    int exitCode = -1;
    // For standard output (the help, the version) and standard error (the error and the usage).
    QString output;
    QString error;
    // The address argument as given, and the page it opens on.
    QString address;
    Page page = Page::None;
};
