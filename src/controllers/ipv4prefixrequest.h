// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class OctetrySettings;

// The prefix length last typed on an IPv4 page: it becomes the Subnets
// page's subnet mask and the CIDR page's CIDR mask, each by its own rules,
// and each page says beside its mask when it could not take it as typed.
// A new address or the user's own choice of mask forgets it.
class IPv4PrefixRequest : public QObject
{
    Q_OBJECT

public:
    // Reads and writes settings; forgets the request whenever the stored address changes.
    explicit IPv4PrefixRequest(OctetrySettings* settings, QObject* parent = nullptr);

    // Sets both pages' masks from prefixLength (0..32) for the stored address and remembers it.
    void Apply(int prefixLength);
    // The user chose the Subnets page's mask: its note goes with the update the choice brings.
    void ForgetSubnets();
    // The user chose the CIDR page's block or mask: its note goes.
    void ForgetCidr();

    // Why the Subnets page shows another mask than typed, or cannot subnet the address; empty when neither.
    [[nodiscard]] QString SubnetsNote() const;
    // Why the CIDR page shows another mask or block than typed; empty when it shows them as typed.
    [[nodiscard]] QString CidrNote() const;

signals:
    // A request was applied: the mask pages' notes may have changed.
    void Changed();

private:
    void ApplyToSubnets(int prefixLength);
    void ApplyToCidr(int prefixLength);

    OctetrySettings* m_settings;
    // The typed length each page still answers for; -1 for none.
    int m_subnetsLength = -1;
    int m_cidrLength = -1;
    // The CIDR page's block length before it was widened to hold the prefix; -1 when it was not.
    int m_widenedBlockBits = -1;
};
