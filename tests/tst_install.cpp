// Lumenar installed into a temporary DESTDIR and looked at with the desktop's own tools, the
// viewer's command line, and the macOS bundle's description and icon as built here.
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
        QString out;
        QString err;
    };

    QTemporaryDir m_dir;
    QString m_root; // the installed /usr

    static Result run(const QString& program, const QStringList& args,
                      const QProcessEnvironment& env)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        Result result;
        if (!process.waitForFinished(120000)) {
            result.err = process.errorString();
            return result;
        }
        if (process.exitStatus() == QProcess::NormalExit)
            result.status = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // Without a display, so that a program that tried to open a window would fail.
    static QProcessEnvironment quietEnvironment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        return env;
    }

    static QString missing(const QStringList& tools)
    {
        for (const QString& tool : tools) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return tool;
        }
        return QString();
    }

    QString read(const QString& installedPath) const
    {
        QFile file(m_root + installedPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The value of a key in a desktop-entry style file, split at ';'.
    QStringList entryList(const QString& installedPath, const QString& key) const
    {
        const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key),
                                      QRegularExpression::MultilineOption);
        return line.match(read(installedPath))
            .captured(1)
            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }

    QStringList xmlTexts(const QString& installedPath, const QString& element,
                         const QString& attribute = QString()) const
    {
        QStringList texts;
        QXmlStreamReader xml(read(installedPath));
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element)
                texts << (attribute.isEmpty() ? xml.readElementText()
                                              : xml.attributes().value(attribute).toString());
        }
        return texts;
    }

    static QVariant plistValue(QXmlStreamReader& xml)
    {
        const QString name = xml.name().toString();
        if (name == QLatin1String("dict")) {
            QVariantMap map;
            QString key;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("key"))
                    key = xml.readElementText();
                else
                    map.insert(key, plistValue(xml));
            }
            return map;
        }
        if (name == QLatin1String("array")) {
            QVariantList list;
            while (xml.readNextStartElement())
                list << plistValue(xml);
            return list;
        }
        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            xml.skipCurrentElement();
            return name == QLatin1String("true");
        }
        return xml.readElementText();
    }

    static QVariantMap infoPlist()
    {
        QFile file(QStringLiteral(INFO_PLIST));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QXmlStreamReader xml(&file);
        if (!xml.readNextStartElement() || !xml.readNextStartElement())
            return {};
        const QVariantMap plist = plistValue(xml).toMap();
        return xml.hasError() ? QVariantMap() : plist;
    }

    static QVariantMap documentType(const QStringList& extensions)
    {
        for (const QVariant& type :
             infoPlist().value(QStringLiteral("CFBundleDocumentTypes")).toList()) {
            if (type.toMap().value(QStringLiteral("CFBundleTypeExtensions")).toStringList() ==
                extensions)
                return type.toMap();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(!DemoShow::writeAll(m_dir.filePath(QStringLiteral("demo"))).isEmpty());
#ifndef Q_OS_MACOS
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), m_dir.filePath(QStringLiteral("root")));
        const Result install = run(QStringLiteral(CMAKE_COMMAND),
                                   {QStringLiteral("--install"), QStringLiteral(LUMENAR_BUILD_DIR),
                                    QStringLiteral("--prefix"), QStringLiteral("/usr")},
                                   env);
        QVERIFY2(install.status == 0, qPrintable(install.err));
        m_root = m_dir.filePath(QStringLiteral("root/usr"));
#endif
    }

    void installedTree()
    {
        if (m_root.isEmpty())
            QSKIP("the desktop files are installed on Linux and other freedesktop systems");
        QStringList files;
        QDirIterator it(m_root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(m_root.size());
        files.sort();
        QCOMPARE(files.join(QLatin1Char('\n')),
                 QStringLiteral("/bin/lumenar\n"
                                "/bin/lumenar-inspect\n"
                                "/share/applications/org.lumenar.Lumenar.desktop\n"
                                "/share/doc/lumenar/changelog.gz\n"
                                "/share/doc/lumenar/copyright\n"
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
            const QImage icon(
                m_root + QStringLiteral("/share/icons/hicolor/%1x%1/apps/org.lumenar.Lumenar.png")
                             .arg(size));
            QCOMPARE(icon.size(), QSize(size, size));
        }
    }

    // Every file that names the file types names the same ones, and the thumbnailer's program
    // is one that was installed.
    void fileTypesAgree()
    {
        if (m_root.isEmpty())
            QSKIP("the desktop files are installed on Linux and other freedesktop systems");
        QStringList types = xmlTexts(QStringLiteral("/share/mime/packages/org.lumenar.Lumenar.xml"),
                                     QStringLiteral("mime-type"), QStringLiteral("type"));
        types.sort();
        QCOMPARE(types.size(), 4);
        const QString desktop = QStringLiteral("/share/applications/org.lumenar.Lumenar.desktop");
        const QString thumbnailer =
            QStringLiteral("/share/thumbnailers/org.lumenar.Lumenar.thumbnailer");
        for (QStringList listed :
             {entryList(desktop, QStringLiteral("MimeType")),
              entryList(thumbnailer, QStringLiteral("MimeType")),
              xmlTexts(QStringLiteral("/share/metainfo/org.lumenar.Lumenar.metainfo.xml"),
                       QStringLiteral("mediatype"))}) {
            listed.sort();
            QCOMPARE(listed, types);
        }
        for (const QString& key : {QStringLiteral("Exec"), QStringLiteral("TryExec")}) {
            const QString program =
                entryList(thumbnailer, key).value(0).section(QLatin1Char(' '), 0, 0);
            QVERIFY2(QFileInfo(m_root + QStringLiteral("/bin/") + program).isExecutable(),
                     qPrintable(program));
        }
    }

    void tools_data()
    {
        QTest::addColumn<QString>("program"); // "@" is the installed /usr
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        const QString desktop = QStringLiteral("@/share/applications/org.lumenar.Lumenar.desktop");
        QTest::newRow("launcher") << "desktop-file-validate" << QStringList{desktop} << 0 << ""
                                  << "";
        QTest::newRow("metadata")
            << "appstreamcli"
            << QStringList{"validate", "--no-net",
                           "@/share/metainfo/org.lumenar.Lumenar.metainfo.xml"}
            << 0 << "Validation was successful"
            << "";
        QTest::newRow("file types")
            << "xmllint" << QStringList{"--noout", "@/share/mime/packages/org.lumenar.Lumenar.xml"}
            << 0 << ""
            << "";
        QTest::newRow("viewer's manual")
            << "man" << QStringList{"--warnings", "-l", "@/share/man/man1/lumenar.1.gz"} << 0
            << "lumenar - view the frames of laser-show files"
            << "";
        QTest::newRow("inspector's manual")
            << "man" << QStringList{"--warnings", "-l", "@/share/man/man1/lumenar-inspect.1.gz"}
            << 0 << "--thumbnail SIZE FILE OUT.png"
            << "";
        QTest::newRow("help") << "@/bin/lumenar" << QStringList{"--help"} << 0 << "-v, --version"
                              << "";
        QTest::newRow("version") << "@/bin/lumenar" << QStringList{"--version"} << 0
                                 << "lumenar " LUMENAR_VERSION "\n"
                                 << "";
        QTest::newRow("unknown option")
            << "@/bin/lumenar" << QStringList{"--bogus", "show.ild"} << 2 << ""
            << "lumenar: Unknown option 'bogus'.";
    }

    void tools()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        if (m_root.isEmpty())
            QSKIP("the desktop files are installed on Linux and other freedesktop systems");
        if (program.startsWith(QLatin1Char('@')))
            program.replace(0, 1, m_root);
        else if (!missing({program}).isEmpty())
            QSKIP(
                qPrintable(program + QStringLiteral(" is not installed (make test installs it)")));
        args.replaceInStrings(QRegularExpression(QStringLiteral("^@")), m_root);

        const Result result = run(program, args, quietEnvironment());
        const QString all = result.out + result.err;
        QVERIFY2(result.status == status, qPrintable(all));
        QVERIFY2(result.out.contains(out), qPrintable(result.out));
        QVERIFY2(err.isEmpty() ? result.err.isEmpty() : result.err.contains(err),
                 qPrintable(result.err));
        // Validators and man pass with hints and warnings; those count as failures here.
        const QRegularExpression complaint(QStringLiteral("^[IWE]: |: (hint|warning|error): "),
                                           QRegularExpression::MultilineOption);
        QVERIFY2(!all.contains(complaint), qPrintable(all));
    }

    void mimeTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("demoFile"); // empty: the bytes below
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");

        QTest::newRow("ILDA named .bin")
            << "show.bin"
            << "lumenar-demo.ild" << QByteArray() << "application/x-ilda";
        QTest::newRow("no signature, named .ILDA")
            << "CUT.ILDA"
            << "" << QByteArray("\0\1\2\3", 4) << "application/x-ilda";
        QTest::newRow("picture") << "Spiral.pic"
                                 << "Spiral.pic" << QByteArray() << "application/x-vectrion-pic";
        QTest::newRow("catalogue")
            << "Lumenar.ccat"
            << "Lumenar.ccat" << QByteArray() << "application/x-vectrion-ccat";
        QTest::newRow("animation") << "Lumenar.ani"
                                   << "Lumenar.ani" << QByteArray() << "application/x-vectrion-ani";
        QTest::newRow("Windows cursor stays one")
            << "busy.ani"
            << "" << QByteArray("RIFF\x20\0\0\0ACONanih", 16) << "application/x-navi-animation";
        QTest::newRow("text that starts with ILDA")
            << "notes"
            << "" << QByteArray("ILDA files are laser shows.\n") << "text/plain";
    }

    void mimeTypes()
    {
        QFETCH(QString, name);
        QFETCH(QString, demoFile);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        if (m_root.isEmpty())
            QSKIP("the desktop files are installed on Linux and other freedesktop systems");
        const QString tool =
            missing({QStringLiteral("update-mime-database"), QStringLiteral("gio")});
        if (!tool.isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed (make test installs it)")));
        const QProcessEnvironment env = quietEnvironment();
        const Result update = run(QStringLiteral("update-mime-database"),
                                  {m_root + QStringLiteral("/share/mime")}, env);
        QVERIFY2(update.status == 0, qPrintable(update.err));

        const QString path = m_dir.filePath(QStringLiteral("files/") + name);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (!demoFile.isEmpty()) {
            QFile::remove(path);
            QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("demo/") + demoFile), path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QProcessEnvironment gioEnv = env;
        gioEnv.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("home")));
        gioEnv.insert(QStringLiteral("XDG_DATA_DIRS"),
                      m_root + QStringLiteral("/share:/usr/local/share:/usr/share"));
        const Result info = run(QStringLiteral("gio"),
                                {QStringLiteral("info"), QStringLiteral("-a"),
                                 QStringLiteral("standard::content-type"), path},
                                gioEnv);
        QVERIFY2(info.status == 0, qPrintable(info.err));
        QCOMPARE(info.out.section(QStringLiteral("standard::content-type: "), 1).trimmed(), type);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");

        QTest::newRow("nothing") << QStringList{"lumenar"} << int(CommandLine::Run) << "";
        QTest::newRow("a file") << QStringList{"lumenar", "show.ild"} << int(CommandLine::Run)
                                << "show.ild";
        QTest::newRow("a second file is ignored")
            << QStringList{"lumenar", "a.ild", "b.pic"} << int(CommandLine::Run) << "a.ild";
        QTest::newRow("Qt's own option first")
            << QStringList{"lumenar", "-platform", "xcb", "show.ild"} << int(CommandLine::Run)
            << "show.ild";
        QTest::newRow("a name with a dash after --")
            << QStringList{"lumenar", "--", "-show.ild"} << int(CommandLine::Run) << "-show.ild";
        QTest::newRow("-h") << QStringList{"lumenar", "-h", "show.ild"} << int(CommandLine::Help)
                            << "";
        QTest::newRow("--help-all")
            << QStringList{"lumenar", "--help-all"} << int(CommandLine::Help) << "";
        QTest::newRow("-v") << QStringList{"lumenar", "-v"} << int(CommandLine::Version) << "";
        QTest::newRow("unknown option")
            << QStringList{"lumenar", "-x", "show.ild"} << int(CommandLine::UsageError) << "";
        QTest::newRow("Qt option without its value")
            << QStringList{"lumenar", "-style"} << int(CommandLine::UsageError) << "";
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
        const QVariantMap type = documentType(extensions);
        QVERIFY2(!type.isEmpty(), "no document type has exactly these extensions");
        QCOMPARE(type.value(QStringLiteral("CFBundleTypeRole")).toString(),
                 QStringLiteral("Viewer"));
        QCOMPARE(type.value(QStringLiteral("LSHandlerRank")).toString(), rank);
    }

    void bundle()
    {
        const QVariantMap plist = infoPlist();
        QVERIFY2(!plist.isEmpty(), INFO_PLIST " cannot be read as a property list");
        QCOMPARE(plist.value(QStringLiteral("CFBundleDocumentTypes")).toList().size(), 4);
        QCOMPARE(plist.value(QStringLiteral("CFBundleIdentifier")).toString(),
                 QStringLiteral(LUMENAR_APP_ID));
        QCOMPARE(plist.value(QStringLiteral("CFBundleShortVersionString")).toString(),
                 QStringLiteral(LUMENAR_VERSION));
        QCOMPARE(plist.value(QStringLiteral("NSHighResolutionCapable")), QVariant(true));
        QCOMPARE(plist.value(QStringLiteral("NSPrincipalClass")).toString(),
                 QStringLiteral("NSApplication"));

        // The ILDA document type is the exported type, which Finder knows without another program.
        const QVariantList exported =
            plist.value(QStringLiteral("UTExportedTypeDeclarations")).toList();
        QCOMPARE(exported.size(), 1);
        const QVariantMap ilda = exported.first().toMap();
        QCOMPARE(documentType({QStringLiteral("ild"), QStringLiteral("ilda")})
                     .value(QStringLiteral("LSItemContentTypes"))
                     .toStringList(),
                 QStringList{ilda.value(QStringLiteral("UTTypeIdentifier")).toString()});
        QCOMPARE(ilda.value(QStringLiteral("UTTypeConformsTo")).toStringList(),
                 QStringList{QStringLiteral("public.data")});
        const QVariantMap tags = ilda.value(QStringLiteral("UTTypeTagSpecification")).toMap();
        QCOMPARE(tags.value(QStringLiteral("public.filename-extension")).toStringList(),
                 (QStringList{QStringLiteral("ild"), QStringLiteral("ilda")}));
        QCOMPARE(tags.value(QStringLiteral("public.mime-type")).toString(),
                 QStringLiteral("application/x-ilda"));

        // The icon: element types that hold pictures, by their size.
        if (QStringLiteral(LUMENAR_ICNS).isEmpty())
            QSKIP("no icns tool (png2icns, make test installs it)");
        QFile icns(QStringLiteral(LUMENAR_ICNS));
        QVERIFY(icns.open(QIODevice::ReadOnly));
        const QByteArray data = icns.readAll();
        QVERIFY(data.startsWith("icns"));
        const QHash<QByteArray, int> sizes{
            {"is32", 16},  {"icp4", 16},  {"ic04", 16},  {"il32", 32},  {"icp5", 32},
            {"ic05", 32},  {"ic11", 32},  {"icp6", 64},  {"ic12", 64},  {"it32", 128},
            {"ic07", 128}, {"ic08", 256}, {"ic13", 256}, {"ic09", 512}, {"ic14", 512}};
        QSet<int> found;
        for (qint64 pos = 8; pos + 8 <= data.size();) {
            found.insert(sizes.value(data.mid(int(pos), 4)));
            const quint32 length = qFromBigEndian<quint32>(data.constData() + pos + 4);
            QVERIFY(length >= 8);
            pos += length;
        }
        for (int size : {16, 32, 128, 256, 512})
            QVERIFY2(found.contains(size), qPrintable(QString::number(size)));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
