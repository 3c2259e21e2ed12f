#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Installs the build into a staging folder and packages it, then checks what a desktop and a package manager see.
class TstInstallation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_buildDir = qEnvironmentVariable("OCTETRY_BUILD_DIR");
        if (m_buildDir.isEmpty())
            QSKIP("OCTETRY_BUILD_DIR is not set; run through ctest");
        m_prefix = m_stage.path() + "/usr";
        QVERIFY2(run("cmake", {"--install", m_buildDir, "--prefix", m_prefix}) == 0, qPrintable(m_output));
    }

    void programIsExecutable() { QVERIFY(QFileInfo(m_prefix + "/bin/octetry").isExecutable()); }

    void desktopFiles()
    {
        const QString desktop = m_prefix + "/share/applications/example.quorvane.Octetry.desktop";
        QFile file(desktop);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The launcher runs the installed program with the installed icon.
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("\nExec=octetry\n") && text.contains("\nIcon=octetry\n"));
        if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty()
            || QStandardPaths::findExecutable("appstreamcli").isEmpty())
            QSKIP("desktop-file-validate or appstreamcli is not installed");
        QVERIFY2(run("desktop-file-validate", {desktop}) == 0 && !m_output.contains("error:"), qPrintable(m_output));
        const QString metainfo = m_prefix + "/share/metainfo/example.quorvane.Octetry.metainfo.xml";
        QVERIFY2(run("appstreamcli", {"validate", "--no-net", metainfo}) == 0, qPrintable(m_output));
    }

    void packageMetadata()
    {
        if (QStandardPaths::findExecutable("dpkg-shlibdeps").isEmpty())
            QSKIP("dpkg-shlibdeps is not installed");
        QTemporaryDir packageDir;
        const QStringList cpack = {"-G", "DEB", "--config", m_buildDir + "/CPackConfig.cmake", "-B", packageDir.path()};
        QVERIFY2(run("cpack", cpack) == 0, qPrintable(m_output));
        const QStringList debs = QDir(packageDir.path()).entryList({"octetry_*_amd64.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        run("dpkg-deb", {"-I", packageDir.path() + "/" + debs.first()});
        QVERIFY2(m_output.contains(" Package: octetry\n"), qPrintable(m_output));
        // Found by dpkg-shlibdeps, and the platform plugin it cannot see.
        QVERIFY2(m_output.contains(QRegularExpression("\n Depends: (?=.*libqt6widgets6)(?=.*qt6-qpa-plugins)")),
                 qPrintable(m_output));
    }

private:
    // Runs program in the build folder and keeps what it printed; its exit code, -1 when it crashed.
    int run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(m_buildDir);
        process.start(program, arguments);
        process.waitForFinished(300000);
        m_output = QString::fromLocal8Bit(process.readAll());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString m_buildDir;
    QTemporaryDir m_stage;
    QString m_prefix;
    QString m_output;
};

QTEST_GUILESS_MAIN(TstInstallation)
#include "tst_installation.moc"
