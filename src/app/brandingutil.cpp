// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/brandingutil.h"

#include "app/buildconfig.h"

#include <QCoreApplication>
#include <QMap>

namespace {

// QMap keeps its keys in QString order, which is the order Apply visits.
const QMap<QString, QString>& BrandingTable()
{
    static const QMap<QString, QString> table{
        {QStringLiteral("%BRAND_ORGANIZATION%"), BrandingUtil::GetOrganizationName()},
        {QStringLiteral("%BRAND_ORGANIZATION_DOMAIN%"), BrandingUtil::GetOrganizationDomain()},
        {QStringLiteral("%BRAND_ORGANIZATION_URL%"), BrandingUtil::GetOrganizationUrl()},
        {QStringLiteral("%BRAND_APPLICATION_NAME%"), BrandingUtil::GetApplicationName()},
        {QStringLiteral("%BRAND_SUPPORT_EMAIL%"), BrandingUtil::GetSupportEmail()},
        // The visible name of the support address is the organisation, not the address.
        {QStringLiteral("%BRAND_SUPPORT_EMAIL_TEXT%"), BrandingUtil::GetOrganizationName()},
        {QStringLiteral("%BRAND_REMOTE_NEWS_URL%"), BrandingUtil::GetRemoteNewsUrl()},
    };
    return table;
}

} // namespace

QString BrandingUtil::Apply(const QString& text)
{
    QString result = text;
    const QMap<QString, QString>& table = BrandingTable();
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        result.replace(it.key(), it.value(), Qt::CaseSensitive);
    return result;
}

QString BrandingUtil::GetApplicationTitle()
{
    return GetOrganizationName() + QLatin1Char(' ') + GetApplicationName();
}

void BrandingUtil::SetApplicationIdentity()
{
    QCoreApplication::setOrganizationName(GetOrganizationName());
    QCoreApplication::setOrganizationDomain(GetOrganizationDomain());
    QCoreApplication::setApplicationName(GetApplicationName());
}

QString BrandingUtil::GetOrganizationName()
{
    return QStringLiteral("Quorvane");
}

QString BrandingUtil::GetOrganizationDomain()
{
    return QStringLiteral(OCTETRY_ORGANIZATION_DOMAIN);
}

QString BrandingUtil::GetApplicationName()
{
    return QStringLiteral("Octetry");
}

QString BrandingUtil::GetOrganizationUrl()
{
    return QStringLiteral(OCTETRY_ORGANIZATION_URL);
}

QString BrandingUtil::GetSupportEmail()
{
    return QStringLiteral(OCTETRY_SUPPORT_EMAIL);
}

QString BrandingUtil::GetRemoteNewsUrl()
{
    return QStringLiteral(OCTETRY_REMOTE_NEWS_URL);
}
