#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Installs the build into a staging directory and builds the Debian package,
// then checks what a desktop and a package manager will see.
class TstInstallation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void iconsHaveTheirSizes();
    void desktopEntry();
    void desktopEntryValidates();
    void metainfoValidates();
    void packageMetadata();

private:
    static QString run(const QString& program, const QStringList& arguments, int* exitCode = nullptr,
                       const QString& workingDirectory = QString());
    QString m_buildDir;
    QTemporaryDir m_stage;
    QString m_prefix;
};

QString TstInstallation::run(const QString& program, const QStringList& arguments, int* exitCode,
                             const QString& workingDirectory)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    process.waitForFinished(300000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

void TstInstallation::initTestCase()
{
    m_buildDir = qEnvironmentVariable("OCTETRY_BUILD_DIR");
    if (m_buildDir.isEmpty())
        QSKIP("OCTETRY_BUILD_DIR is not set; run through ctest");
    QVERIFY(m_stage.isValid());
    m_prefix = m_stage.path() + "/usr";
    int exitCode = 0;
    const QString output = run("cmake", {"--install", m_buildDir, "--prefix", m_prefix}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(output));
}

void TstInstallation::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("program") << "bin/octetry";
    QTest::newRow("desktop entry") << "share/applications/example.quorvane.Octetry.desktop";
    QTest::newRow("metainfo") << "share/metainfo/example.quorvane.Octetry.metainfo.xml";
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = QString("share/icons/hicolor/%1x%1/apps/octetry.png").arg(size);
        QTest::newRow(qPrintable(QString("icon %1 px").arg(size))) << path;
    }
}

void TstInstallation::installedFiles()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo::exists(m_prefix + "/" + path), qPrintable(path));
}

void TstInstallation::iconsHaveTheirSizes()
{
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(QString("%1/share/icons/hicolor/%2x%2/apps/octetry.png").arg(m_prefix).arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
    }
}

void TstInstallation::desktopEntry()
{
    QFile file(m_prefix + "/share/applications/example.quorvane.Octetry.desktop");
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    const QStringList lines = text.split('\n');
    QVERIFY(lines.contains("Name=Octetry"));
    QVERIFY(lines.contains("GenericName=IP Address Calculator"));
    QVERIFY(lines.contains("Exec=octetry"));
    QVERIFY(lines.contains("Icon=octetry"));
    const QRegularExpression categories("^Categories=(.*)$", QRegularExpression::MultilineOption);
    const QStringList found = categories.match(text).captured(1).split(';', Qt::SkipEmptyParts);
    QVERIFY(found.contains("Network"));
    QVERIFY(found.contains("Utility"));
}

void TstInstallation::desktopEntryValidates()
{
    const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
    if (tool.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    int exitCode = 0;
    const QString output = run(tool, {m_prefix + "/share/applications/example.quorvane.Octetry.desktop"}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(output));
    QVERIFY2(!output.contains("error:"), qPrintable(output));
}

void TstInstallation::metainfoValidates()
{
    const QString tool = QStandardPaths::findExecutable("appstreamcli");
    if (tool.isEmpty())
        QSKIP("appstreamcli is not installed");
    int exitCode = 0;
    const QString output =
        run(tool, {"validate", "--no-net", m_prefix + "/share/metainfo/example.quorvane.Octetry.metainfo.xml"}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(output));
}

void TstInstallation::packageMetadata()
{
    if (QStandardPaths::findExecutable("cpack").isEmpty() || QStandardPaths::findExecutable("dpkg-deb").isEmpty()
        || QStandardPaths::findExecutable("dpkg-shlibdeps").isEmpty())
        QSKIP("cpack, dpkg-deb or dpkg-shlibdeps is not installed");
    QTemporaryDir packageDir;
    int exitCode = 0;
    QString output = run("cpack", {"-G", "DEB", "--config", m_buildDir + "/CPackConfig.cmake", "-B", packageDir.path()},
                         &exitCode, m_buildDir);
    QVERIFY2(exitCode == 0, qPrintable(output));
    const QStringList debs = QDir(packageDir.path()).entryList({"octetry_*_amd64.deb"}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    QCOMPARE(debs.first(), QString("octetry_1.0.0.0_amd64.deb"));
    const QString deb = packageDir.path() + "/" + debs.first();

    output = run("dpkg-deb", {"-I", deb}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(output));
    QVERIFY2(output.contains(" Package: octetry\n"), qPrintable(output));
    QVERIFY2(output.contains(" Version: 1.0.0.0\n"), qPrintable(output));
    QVERIFY2(output.contains(" Architecture: amd64\n"), qPrintable(output));
    // The summary once, then the long text as flowing paragraph lines.
    QVERIFY2(output.contains(" Description: IP address calculator for network engineers\n"
                             "  Shows an IPv4 address in eight notations,"),
             qPrintable(output));
    QCOMPARE(output.count("IP address calculator for network engineers"), 1);
    const QRegularExpression depends("^ Depends: (.*)$", QRegularExpression::MultilineOption);
    const QString dependsLine = depends.match(output).captured(1);
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6", "libc6",
                                "libstdc++6", "qt6-qpa-plugins"})
        QVERIFY2(dependsLine.contains(library), qPrintable(dependsLine));

    output = run("dpkg-deb", {"-c", deb}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(output));
    QVERIFY(output.contains("./usr/bin/octetry\n"));
    QVERIFY(output.contains("./usr/share/applications/example.quorvane.Octetry.desktop\n"));
    QVERIFY(output.contains("./usr/share/icons/hicolor/256x256/apps/octetry.png\n"));
}

QTEST_GUILESS_MAIN(TstInstallation)
#include "tst_installation.moc"
