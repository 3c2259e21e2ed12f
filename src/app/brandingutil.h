// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The organisation's names and addresses, and the substitution that puts
// them into form texts written with "%BRAND_...%" placeholders.
class BrandingUtil
{
public:
    BrandingUtil() = delete;

    // Returns a copy of `text` with every branding placeholder replaced by its
    // value, visiting the placeholders in ascending order; unknown words stay.
    static QString Apply(const QString& text);

    // Returns "Quorvane Octetry": organisation name, a blank, application name.
    static QString GetApplicationTitle();

    // Gives the running application its organisation name, domain and
    // application name, which locate the user's settings; call after the
    // application object exists.
    static void SetApplicationIdentity();

    // Returns the organisation name, "Quorvane".
    static QString GetOrganizationName();

    // Returns the organisation's Internet domain name.
    static QString GetOrganizationDomain();

    // Returns the application name, "Octetry".
    static QString GetApplicationName();

    // Returns the organisation's web site address.
    static QString GetOrganizationUrl();

    // Returns the support e-mail address (without "mailto:").
    static QString GetSupportEmail();

    // Returns the address of the remote news page.
    static QString GetRemoteNewsUrl();
};
