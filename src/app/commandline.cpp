// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"

#include "address/addressprefix.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "app/menucontroller.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
QString Tr(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

// The page that shows text, or None when it is no address of either family.
CommandLine::Page PageOf(const QString& text)
{
    const std::string trimmed = text.trimmed().toStdString();
    const AddressPrefix ipv6 = AddressPrefix::SplitIPv6(trimmed);
    if (ipv6.form != AddressPrefix::Form::Bad && IPv6Address(ipv6.addressText).IsValid())
        return ipv6.form == AddressPrefix::Form::Prefix ? CommandLine::Page::IPv6Subnets : CommandLine::Page::IPv6;
    const AddressPrefix ipv4 = AddressPrefix::SplitIPv4(trimmed);
    if (ipv4.form != AddressPrefix::Form::Bad && IPv4Address(ipv4.addressText, IPv4Address::DottedDecimal).IsValid())
        return ipv4.form == AddressPrefix::Form::Prefix ? CommandLine::Page::Subnets : CommandLine::Page::Conversions;
    return CommandLine::Page::None;
}
} // namespace

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Tr("IP address calculator for network engineers.\n\n"
           "Examples:\n"
           "  octetry 10.1.2.3/24                 the Subnets page, the CIDR page's mask /24\n"
           "  octetry \"10.1.2.3 255.255.255.0\"    the same, with a netmask\n"
           "  octetry 192.0.2.1                   the Conversions page\n"
           "  octetry 2001:db8::1                 the IPv6 page\n"
           "  octetry 2001:db8:1200::/40          the IPv6 Subnets page"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           Tr("Displays the version of Octetry and of Qt."));
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("address"),
                                 Tr("An IPv4 or IPv6 address or prefix (\"a/n\", \"a m.m.m.m\"), opened as if typed. "
                                    "Without it the window opens as it was left."),
                                 QStringLiteral("[address]"));

    CommandLine result;
    const auto refuse = [&](const QString& message) {
        result.exitCode = 2;
        // The error and the usage line, as command-line tools print them.
        result.error = Tr("octetry: %1\n%2\nRun \"octetry --help\" for more.\n")
                           .arg(message, parser.helpText().section(QLatin1Char('\n'), 0, 0));
        return result;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        result.exitCode = 0;
        result.output = parser.helpText();
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.exitCode = 0;
        result.output =
            Tr("Octetry %1 (Qt %2)\n").arg(MenuController::GetVersionText(), QString::fromLatin1(qVersion()));
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return refuse(Tr("one address at most, not %1").arg(positional.size()));
    if (positional.isEmpty())
        return result;
    result.page = PageOf(positional.front());
    if (result.page == Page::None)
        return refuse(Tr("\"%1\" is no IPv4 or IPv6 address or prefix").arg(positional.front()));
    result.address = positional.front().trimmed();
    return result;
}
