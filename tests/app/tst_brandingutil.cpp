#include <QTest>

#include "app/brandingutil.h"
#include "app/buildconfig.h"

class TstBrandingUtil : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void applicationTitle();
};

void TstBrandingUtil::apply_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("web site command gets the organisation name")
        << "Visit the %BRAND_ORGANIZATION% &Website..." << "Visit the Quorvane &Website...";
    QTest::newRow("e-mail command gets the organisation name, not the address")
        << "&Email %BRAND_SUPPORT_EMAIL_TEXT% Support..." << "&Email Quorvane Support...";
    QTest::newRow("banner tooltip") << "Click to visit the %BRAND_ORGANIZATION% website"
                                    << "Click to visit the Quorvane website";
    QTest::newRow("two occurrences are both replaced")
        << "%BRAND_ORGANIZATION% and %BRAND_ORGANIZATION%" << "Quorvane and Quorvane";
    QTest::newRow("domain is not taken for the organisation")
        << "%BRAND_ORGANIZATION_DOMAIN%" << OCTETRY_ORGANIZATION_DOMAIN;
    QTest::newRow("support address is not taken for its text")
        << "mailto:%BRAND_SUPPORT_EMAIL%" << "mailto:" OCTETRY_SUPPORT_EMAIL;
    QTest::newRow("web site address") << "<a href=\"%BRAND_ORGANIZATION_URL%\">" << "<a href=\"" OCTETRY_ORGANIZATION_URL "\">";
    QTest::newRow("news address") << "%BRAND_REMOTE_NEWS_URL%" << OCTETRY_REMOTE_NEWS_URL;
    QTest::newRow("application name") << "%BRAND_APPLICATION_NAME% 1" << "Octetry 1";
    QTest::newRow("all seven side by side")
        << "%BRAND_APPLICATION_NAME%|%BRAND_ORGANIZATION%|%BRAND_ORGANIZATION_DOMAIN%|%BRAND_ORGANIZATION_URL%|"
           "%BRAND_REMOTE_NEWS_URL%|%BRAND_SUPPORT_EMAIL%|%BRAND_SUPPORT_EMAIL_TEXT%"
        << "Octetry|Quorvane|" OCTETRY_ORGANIZATION_DOMAIN "|" OCTETRY_ORGANIZATION_URL "|" OCTETRY_REMOTE_NEWS_URL
           "|" OCTETRY_SUPPORT_EMAIL "|Quorvane";
    QTest::newRow("About box placeholder is left alone") << "Version: %VERSION%" << "Version: %VERSION%";
    QTest::newRow("placeholders are case-sensitive") << "%brand_organization%" << "%brand_organization%";
    QTest::newRow("a placeholder without its closing percent sign stays") << "%BRAND_ORGANIZATION" << "%BRAND_ORGANIZATION";
    QTest::newRow("text without placeholders is unchanged") << "Allow 1 &Subnet Bit (RFC 1878)"
                                                          << "Allow 1 &Subnet Bit (RFC 1878)";
    QTest::newRow("empty text") << "" << "";
}

void TstBrandingUtil::apply()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(BrandingUtil::Apply(text), expected);
}

void TstBrandingUtil::applicationTitle()
{
    QCOMPARE(BrandingUtil::GetApplicationTitle(), QStringLiteral("Quorvane Octetry"));
}

QTEST_GUILESS_MAIN(TstBrandingUtil)
#include "tst_brandingutil.moc"
