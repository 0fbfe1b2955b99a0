// Lumenar installed into a temporary DESTDIR and looked at with the desktop's own tools; the
// viewer's command line; the macOS bundle's description and icon as built here.
#include "app/CommandLine.h"
#include "tools/DemoShow.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

class TestInstall : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int status = -1;
        QString out, err;
    };

    QTemporaryDir m_dir;
    QString m_usr; // the installed /usr; empty where nothing is installed (macOS)

    // Without a display, so that a program that tried to open a window would fail.
    static Result run(const QString& program, const QStringList& args,
                      const QStringList& settings = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        for (const QString& setting : QStringList{"LC_ALL=C.UTF-8", "MANWIDTH=80"} + settings)
            env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section('=', 1));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        Result result;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            result.err = process.errorString() + '\n';
        else
            result.status = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err += QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // Every first group of pattern in an installed file, split at ';'.
    QStringList captures(const QString& file, const QString& pattern) const
    {
        QFile in(m_usr + file);
        if (!in.open(QIODevice::ReadOnly))
            return {};
        QStringList found;
        auto it = QRegularExpression(pattern, QRegularExpression::MultilineOption)
                      .globalMatch(QString::fromUtf8(in.readAll()));
        while (it.hasNext())
            found += it.next().captured(1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        return found;
    }

    static QVariant plistValue(QXmlStreamReader& xml)
    {
        const QString name = xml.name().toString();
        QVariantMap map;
        QVariantList list;
        QString key;
        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            xml.skipCurrentElement();
            return name == QLatin1String("true");
        }
        if (name != QLatin1String("dict") && name != QLatin1String("array"))
            return xml.readElementText();
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("key"))
                key = xml.readElementText();
            else if (name == QLatin1String("dict"))
                map.insert(key, plistValue(xml));
            else
                list << plistValue(xml);
        }
        return name == QLatin1String("dict") ? QVariant(map) : QVariant(list);
    }

    static QVariantMap infoPlist()
    {
        QFile file(QStringLiteral(INFO_PLIST));
        QXmlStreamReader xml(&file);
        if (!file.open(QIODevice::ReadOnly) || !xml.readNextStartElement() ||
            !xml.readNextStartElement())
            return {};
        const QVariantMap plist = plistValue(xml).toMap();
        return xml.hasError() ? QVariantMap() : plist;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(!DemoShow::writeAll(m_dir.filePath(QStringLiteral("demo"))).isEmpty());
#ifndef Q_OS_MACOS
        const Result install =
            run(QStringLiteral(CMAKE_COMMAND), {"--install", LUMENAR_BUILD_DIR, "--prefix", "/usr"},
                {"DESTDIR=" + m_dir.path()});
        QVERIFY2(install.status == 0, qPrintable(install.err));
        m_usr = m_dir.filePath(QStringLiteral("usr"));
#endif
    }

    void init()
    {
        const QList<QByteArray> installed{"installedTree", "tools", "mimeTypes"};
        if (m_usr.isEmpty() && installed.contains(QTest::currentTestFunction()))
            QSKIP("the desktop's files are installed on Linux and other freedesktop systems");
    }

    void installedTree()
    {
        QStringList files;
        QDirIterator it(m_usr, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(m_usr.size());
        files.sort();
        QCOMPARE(files.join(QLatin1Char('\n')),
                 QStringLiteral("/bin/lumenar\n/bin/lumenar-inspect\n"
                                "/share/applications/org.lumenar.Lumenar.desktop\n"
                                "/share/doc/lumenar/changelog.gz\n/share/doc/lumenar/copyright\n"
                                "/share/icons/hicolor/256x256/apps/org.lumenar.Lumenar.png\n"
                                "/share/icons/hicolor/48x48/apps/org.lumenar.Lumenar.png\n"
                                "/share/icons/hicolor/96x96/apps/org.lumenar.Lumenar.png\n"
                                "/share/icons/hicolor/scalable/apps/org.lumenar.Lumenar.svg\n"
                                "/share/man/man1/lumenar-inspect.1.gz\n"
                                "/share/man/man1/lumenar.1.gz\n"
                                "/share/metainfo/org.lumenar.Lumenar.metainfo.xml\n"
                                "/share/mime/packages/org.lumenar.Lumenar.xml\n"
                                "/share/thumbnailers/org.lumenar.Lumenar.thumbnailer"));
        for (int size : {48, 96, 256}) {
            const QString icon = QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png");
            QCOMPARE(QImage(m_usr + icon.arg(size).arg(LUMENAR_APP_ID)).size(), QSize(size, size));
        }

        // Every file that names the file types names the same ones; the thumbnailer's program
        // is an installed one.
        const QString thumbnailer =
            QStringLiteral("/share/thumbnailers/" LUMENAR_APP_ID ".thumbnailer");
        QStringList types =
            captures("/share/mime/packages/" LUMENAR_APP_ID ".xml", "<mime-type type=\"([^\"]+)\"");
        QCOMPARE(types.size(), 4);
        for (QStringList listed :
             {captures("/share/applications/" LUMENAR_APP_ID ".desktop", "^MimeType=(.*)$"),
              captures(thumbnailer, "^MimeType=(.*)$"),
              captures("/share/metainfo/" LUMENAR_APP_ID ".metainfo.xml",
                       "<mediatype>(.*)</mediatype>")}) {
            listed.sort();
            types.sort();
            QCOMPARE(listed, types);
        }
        for (const QString& program : captures(thumbnailer, "^(?:Try)?Exec=(\\S+)"))
            QVERIFY2(QFileInfo(m_usr + "/bin/" + program).isExecutable(), qPrintable(program));
    }

    void tools_data()
    {
        QTest::addColumn<QStringList>("command"); // "@" stands for the installed /usr
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expect"); // in stdout after success (stderr empty), else stderr

        const QString id = QStringLiteral("@/share/%1/" LUMENAR_APP_ID);
        const QStringList man{"man", "--warnings", "-l"}, lumenar{"@/bin/lumenar"};
        QTest::newRow("launcher") << QStringList{"desktop-file-validate",
                                                 id.arg("applications") + ".desktop"}
                                  << 0 << "";
        QTest::newRow("metadata") << QStringList{"appstreamcli", "validate", "--no-net",
                                                 id.arg("metainfo") + ".metainfo.xml"}
                                  << 0 << "Validation was successful";
        QTest::newRow("file types")
            << QStringList{"xmllint", "--noout", id.arg("mime/packages") + ".xml"} << 0 << "";
        QTest::newRow("viewer's manual") << man + QStringList{"@/share/man/man1/lumenar.1.gz"} << 0
                                         << "lumenar - view the frames of laser-show files";
        QTest::newRow("inspector's manual")
            << man + QStringList{"@/share/man/man1/lumenar-inspect.1.gz"} << 0
            << "--thumbnail SIZE FILE OUT.png";
        QTest::newRow("help") << lumenar + QStringList{"--help"} << 0 << "-v, --version";
        QTest::newRow("version") << lumenar + QStringList{"--version"} << 0
                                 << "lumenar " LUMENAR_VERSION "\n";
        QTest::newRow("unknown option") << lumenar + QStringList{"--bogus", "show.ild"} << 2
                                        << "lumenar: Unknown option 'bogus'.";
    }

    void tools()
    {
        QFETCH(QStringList, command);
        QFETCH(int, status);
        QFETCH(QString, expect);
        if (!command[0].startsWith('@') && QStandardPaths::findExecutable(command[0]).isEmpty())
            QSKIP(qPrintable(command[0] + " is not installed (make test installs it)"));
        command.replaceInStrings(QRegularExpression("^@"), m_usr);
        const Result result = run(command.takeFirst(), command);
        const QString all = result.out + result.err;
        QVERIFY2(result.status == status, qPrintable(all));
        QVERIFY2((status == 0 ? result.out : result.err).contains(expect), qPrintable(all));
        QVERIFY2(status != 0 || result.err.isEmpty(), qPrintable(result.err));
        // Validators and man pass files with hints and warnings; here those fail.
        QVERIFY2(!all.contains(QRegularExpression("^[IWE]: |: (hint|warning|error): ",
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(all));
    }

    void mimeTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // "demo/..." is a demo file's
        QTest::addColumn<QString>("type");

        const QString ilda = QStringLiteral("application/x-ilda");
        const QString pyx = QStringLiteral("application/x-vectrion-");
        QTest::newRow("ILDA named .bin")
            << "show.bin" << QByteArray("demo/lumenar-demo.ild") << ilda;
        QTest::newRow("no signature, named .ILDA") << "CUT.ILDA" << QByteArray("\0\1", 2) << ilda;
        QTest::newRow("text that starts with ILDA")
            << "notes" << QByteArray("ILDA files are laser shows.\n") << "text/plain";
        QTest::newRow("picture") << "Spiral.pic" << QByteArray("demo/Spiral.pic") << pyx + "pic";
        QTest::newRow("catalogue") << "a.ccat" << QByteArray("demo/Lumenar.ccat") << pyx + "ccat";
        QTest::newRow("animation") << "a.ani" << QByteArray("demo/Lumenar.ani") << pyx + "ani";
        QTest::newRow("a Windows cursor stays one")
            << "busy.ani" << QByteArray("RIFF\x20\0\0\0ACONanih", 16)
            << "application/x-navi-animation";
    }

    void mimeTypes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, type);
        for (const char* tool : {"update-mime-database", "gio"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(
                    qPrintable(tool + QStringLiteral(" is not installed (make test installs it)")));
        }
        const Result update = run("update-mime-database", {m_usr + "/share/mime"});
        QVERIFY2(update.status == 0, qPrintable(update.err));

        const QString path = m_dir.filePath(name);
        QFile file(path), demo(m_dir.filePath(QString::fromLatin1(content)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.startsWith("demo/") && demo.open(QIODevice::ReadOnly) ? demo.readAll()
                                                                                 : content);
        file.close();
        const Result info = run("gio", {"info", "-a", "standard::content-type", path},
                                {"XDG_DATA_HOME=" + m_dir.filePath("none"),
                                 "XDG_DATA_DIRS=" + m_usr + "/share:/usr/local/share:/usr/share"});
        QVERIFY2(info.status == 0, qPrintable(info.err));
        QCOMPARE(info.out.section(QStringLiteral("standard::content-type: "), 1).trimmed(), type);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");

        const int run = CommandLine::Run, usage = CommandLine::UsageError;
        QTest::newRow("nothing") << QStringList{"lumenar"} << run << "";
        QTest::newRow("two files") << QStringList{"lumenar", "a.ild", "b.pic"} << run << "a.ild";
        QTest::newRow("Qt's own option first")
            << QStringList{"lumenar", "-platform", "xcb", "show.ild"} << run << "show.ild";
        QTest::newRow("Finder's process number")
            << QStringList{"lumenar", "-psn_0_12345", "a.ild"} << run << "a.ild";
        QTest::newRow("a dash after --")
            << QStringList{"lumenar", "--", "-a.ild"} << run << "-a.ild";
        QTest::newRow("-h") << QStringList{"lumenar", "-h", "a.ild"} << int(CommandLine::Help)
                            << "";
        QTest::newRow("unknown option") << QStringList{"lumenar", "-x", "a.ild"} << usage << "";
        QTest::newRow("Qt's option without value")
            << QStringList{"lumenar", "-style"} << usage << "";
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, file);
        const CommandLine command = CommandLine::parse(args);
        QCOMPARE(int(command.getAction()), action);
        QCOMPARE(command.getFileName(), file);
        QCOMPARE(command.getText().isEmpty(), action == CommandLine::Run);
    }

    void bundleDocumentTypes_data()
    {
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<QString>("rank");

        QTest::newRow("ILDA") << QStringList{"ild", "ilda"} << "Owner";
        QTest::newRow("picture, a name others use") << QStringList{"pic"} << "Alternate";
        QTest::newRow("catalogue") << QStringList{"ccat"} << "Default";
        QTest::newRow("animation, a name others use") << QStringList{"ani"} << "Alternate";
    }

    void bundleDocumentTypes()
    {
        QFETCH(QStringList, extensions);
        QFETCH(QString, rank);
        const QVariantMap plist = infoPlist();
        const QVariantList types = plist.value("CFBundleDocumentTypes").toList();
        QCOMPARE(types.size(), 4);
        const auto type = std::find_if(types.begin(), types.end(), [&](const QVariant& type) {
            return type.toMap().value("CFBundleTypeExtensions").toStringList() == extensions;
        });
        QVERIFY2(type != types.end(), "no document type has exactly these extensions");
        QCOMPARE(type->toMap().value("CFBundleTypeRole").toString(), QStringLiteral("Viewer"));
        QCOMPARE(type->toMap().value("LSHandlerRank").toString(), rank);

        // The ILDA type is exported, so that Finder knows it without another program.
        if (rank != QLatin1String("Owner"))
            return;
        const QVariantList exported = plist.value("UTExportedTypeDeclarations").toList();
        QCOMPARE(exported.size(), 1);
        const QVariantMap ilda = exported.first().toMap();
        const QVariantMap tags = ilda.value("UTTypeTagSpecification").toMap();
        QCOMPARE(type->toMap().value("LSItemContentTypes").toStringList(),
                 QStringList{ilda.value("UTTypeIdentifier").toString()});
        QCOMPARE(ilda.value("UTTypeConformsTo").toStringList(), QStringList{"public.data"});
        QCOMPARE(tags.value("public.filename-extension").toStringList(), extensions);
        QCOMPARE(tags.value("public.mime-type").toString(), QStringLiteral("application/x-ilda"));
    }

    void bundle()
    {
        const QVariantMap plist = infoPlist();
        QCOMPARE(plist.value("CFBundleIdentifier").toString(), QStringLiteral(LUMENAR_APP_ID));
        QCOMPARE(plist.value("CFBundleShortVersionString").toString(),
                 QStringLiteral(LUMENAR_VERSION));
        QCOMPARE(plist.value("NSHighResolutionCapable"), QVariant(true));
        QCOMPARE(plist.value("NSPrincipalClass").toString(), QStringLiteral("NSApplication"));

        // The icon: the element types that hold pictures, by their size.
        QFile icns(QStringLiteral(LUMENAR_ICNS));
        if (icns.fileName().isEmpty())
            QSKIP("no png2icns to make the icon (make test installs it)");
        QVERIFY(icns.open(QIODevice::ReadOnly));
        const QByteArray data = icns.readAll();
        QVERIFY(data.startsWith("icns"));
        const QHash<QByteArray, int> sizes{
            {"is32", 16},  {"icp4", 16},  {"ic04", 16},  {"il32", 32},  {"ic05", 32},
            {"icp5", 32},  {"ic11", 32},  {"it32", 128}, {"ic07", 128}, {"ic08", 256},
            {"ic13", 256}, {"ic09", 512}, {"ic14", 512}};
        QSet<int> found;
        for (qint64 pos = 8, length = 8; pos + 8 <= data.size() && length >= 8; pos += length) {
            found << sizes.value(data.mid(int(pos), 4));
            length = qFromBigEndian<quint32>(data.constData() + pos + 4);
        }
        for (int size : {16, 32, 128, 256, 512})
            QVERIFY2(found.contains(size), qPrintable(QString::number(size)));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
