// SPDX-License-Identifier: GPL-3.0-or-later
// Lumenar installed into a temporary DESTDIR and looked at with the desktop's own tools; the
// viewer's command line; the macOS bundle's description and icon as built here.
#include "IldaBuilder.h"
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
        const bool done =
            process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
        return {done ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
                (done ? QString() : process.errorString() + '\n') +
                    QString::fromUtf8(process.readAllStandardError())};
    }

    // Every first group of pattern in an installed file, split at ';', sorted.
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
        found.sort();
        return found;
    }

    // The built Info.plist as "path=value" lines, e.g.
    // "CFBundleDocumentTypes/0/LSHandlerRank=Owner".
    static void flatten(QXmlStreamReader& xml, const QString& path, QStringList& lines)
    {
        const QString kind = xml.name().toString();
        if (kind != QLatin1String("dict") && kind != QLatin1String("array")) {
            const QString text = xml.readElementText(); // empty for <true/> and <false/>
            lines << path.chopped(1) + '=' + (text.isEmpty() ? kind : text);
            return;
        }
        QString key;
        for (int i = 0; xml.readNextStartElement();) {
            if (xml.name() == QLatin1String("key"))
                key = xml.readElementText();
            else
                flatten(xml, path + (kind == "dict" ? key : QString::number(i++)) + '/', lines);
        }
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
        // The system's database with Lumenar's types added, as an installed system has it.
        const Result update = run("sh", {"-c",
                                         "mkdir -p $0/mime/packages && cp /usr/share/mime/"
                                         "packages/*.xml $1/share/mime/packages/*.xml "
                                         "$0/mime/packages && update-mime-database $0/mime",
                                         m_dir.filePath("system"), m_usr});
        QVERIFY2(update.status == 0, qPrintable(update.err));
#endif
    }

    void init()
    {
        const QList<QByteArray> installed{"installedTree", "tools", "mimeTypes",
                                          "thumbnailFactory"};
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
        QCOMPARE(files.join(' '),
                 QStringLiteral("/bin/lumenar /bin/lumenar-inspect"
                                " /share/applications/org.lumenar.Lumenar.desktop"
                                " /share/doc/lumenar/changelog.gz /share/doc/lumenar/copyright"
                                " /share/icons/hicolor/256x256/apps/org.lumenar.Lumenar.png"
                                " /share/icons/hicolor/48x48/apps/org.lumenar.Lumenar.png"
                                " /share/icons/hicolor/96x96/apps/org.lumenar.Lumenar.png"
                                " /share/icons/hicolor/scalable/apps/org.lumenar.Lumenar.svg"
                                " /share/lumenar/translations/lumenar_de.qm"
                                " /share/man/man1/lumenar-inspect.1.gz /share/man/man1/lumenar.1.gz"
                                " /share/metainfo/org.lumenar.Lumenar.metainfo.xml"
                                " /share/mime/packages/org.lumenar.Lumenar.xml"
                                " /share/thumbnailers/org.lumenar.Lumenar.thumbnailer"));
        for (int size : {48, 96, 256}) {
            const QString icon = QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png");
            QCOMPARE(QImage(m_usr + icon.arg(size).arg(LUMENAR_APP_ID)).size(), QSize(size, size));
        }

        // Every file that names the file types names the same ones; the thumbnailer's program
        // is an installed one.
        const QString thumbnailer =
            QStringLiteral("/share/thumbnailers/" LUMENAR_APP_ID ".thumbnailer");
        const QStringList types =
            captures("/share/mime/packages/" LUMENAR_APP_ID ".xml", "<mime-type type=\"([^\"]+)\"");
        QCOMPARE(types.size(), 4);
        for (const QStringList& listed :
             {captures("/share/applications/" LUMENAR_APP_ID ".desktop", "^MimeType=(.*)$"),
              captures(thumbnailer, "^MimeType=(.*)$"),
              captures("/share/metainfo/" LUMENAR_APP_ID ".metainfo.xml",
                       "<mediatype>(.*)</mediatype>")})
            QCOMPARE(listed, types);
        for (const QString& program : captures(thumbnailer, "^(?:Try)?Exec=(\\S+)"))
            QVERIFY2(QFileInfo(m_usr + "/bin/" + program).isExecutable(), qPrintable(program));
    }

    void tools_data()
    {
        QTest::addColumn<QString>("line"); // split at spaces; "@" stands for the installed /usr
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expect"); // in stdout after success (stderr empty), else stderr

        const auto row = [](const char* tag, const QString& command, int status,
                            const char* expect) {
            QTest::newRow(tag) << command << status << expect;
        };
        const QString man = QStringLiteral("man --warnings -l @/share/man/man1/");
        row("launcher", "desktop-file-validate @/share/applications/" LUMENAR_APP_ID ".desktop", 0,
            "");
        row("metadata",
            "appstreamcli validate --no-net @/share/metainfo/" LUMENAR_APP_ID ".metainfo.xml", 0,
            "Validation was successful");
        row("file types", "xmllint --noout @/share/mime/packages/" LUMENAR_APP_ID ".xml", 0, "");
        row("viewer's manual", man + "lumenar.1.gz", 0,
            "lumenar - view the frames of laser-show files");
        row("inspector's manual", man + "lumenar-inspect.1.gz", 0, "--thumbnail SIZE FILE OUT.png");
        row("help", "@/bin/lumenar --help", 0, "-v, --version");
        row("version", "@/bin/lumenar --version", 0, LUMENAR_VERSION "\nLicense GPL-3.0-or-later");
        row("help with Qt's options", "@/bin/lumenar --help-all", 0, "--platform <name>");
        row("inspector's -v", "@/bin/lumenar-inspect -v", 0, LUMENAR_VERSION "\nLicense GPL-3.0");
        row("make uninstall", "sh " SOURCE "/tests/uninstall.sh " SOURCE " " LUMENAR_BUILD_DIR, 0,
            "nothing left behind");
        row("unknown option", "@/bin/lumenar --bogus show.ild", 2,
            "lumenar: Unknown option 'bogus'.");
    }

    void tools()
    {
        QFETCH(QString, line);
        QFETCH(int, status);
        QFETCH(QString, expect);
        QStringList command = line.split(' ');
        if (!command[0].startsWith('@') && QStandardPaths::findExecutable(command[0]).isEmpty())
            QSKIP(qPrintable(command[0] + " is not installed (make test installs it)"));
        command.replaceInStrings(QRegularExpression("^@"), m_usr);
        const Result result = run(command.takeFirst(), command);
        const QString all = result.out + result.err;
        // Validators and man pass files with hints and warnings; here those fail.
        const QRegularExpression warned("^[IWE]: |: (hint|warning|error): ",
                                        QRegularExpression::MultilineOption);
        QVERIFY2(result.status == status && !all.contains(warned) &&
                     (status == 0 ? result.err.isEmpty() && result.out.contains(expect)
                                  : result.err.contains(expect)),
                 qPrintable(QString::number(result.status) + '\n' + all));
    }

    void mimeTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // "demo/..." is a demo file's
        QTest::addColumn<QString>("type");

        const auto row = [](const char* tag, const char* name, const QByteArray& content,
                            const QString& type) { QTest::newRow(tag) << name << content << type; };
        const QString ilda = QStringLiteral("application/x-ilda");
        const QString pyx = QStringLiteral("application/x-vectrion-");
        row("ILDA named .bin", "show.bin", "demo/lumenar-demo.ild", ilda);
        row("no signature, named .ILDA", "CUT.ILDA", QByteArray("\0\1", 2), ilda);
        row("text that starts with ILDA", "notes", "ILDA files are laser shows.\n", "text/plain");
        row("picture", "Spiral.pic", "demo/Spiral.pic", pyx + "pic");
        row("catalogue", "a.ccat", "demo/Lumenar.ccat", pyx + "ccat");
        row("animation", "a.ani", "demo/Lumenar.ani", pyx + "ani");
        row("a Windows cursor stays one", "busy.ani", QByteArray("RIFF\x20\0\0\0ACONanih", 16),
            "application/x-navi-animation");
    }

    void mimeTypes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, type);
        if (QStandardPaths::findExecutable("gio").isEmpty())
            QSKIP("gio is missing (make test installs it)");

        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        QVERIFY(content.startsWith("demo/") ? QFile::copy(m_dir.filePath(content), path)
                                            : !writeTestFile(m_dir, name, content).isEmpty());
        const Result info = run("gio", {"info", "-a", "standard::content-type", path},
                                {"XDG_DATA_HOME=" + m_dir.filePath("none"),
                                 "XDG_DATA_DIRS=" + m_dir.filePath("system")});
        QVERIFY2(info.status == 0, qPrintable(info.err));
        QCOMPARE(info.out.section(QStringLiteral("standard::content-type: "), 1).trimmed(), type);
    }

    void thumbnailFactory()
    {
#ifdef LUMENAR_SANITIZED
        QSKIP("the factory's sandbox hides the sanitizer's suppressions: Qt's own leaks fail it");
#endif
        // Frame 0 of a cut show is enough; an animation's pictures lie outside the sandbox.
        QFile show(m_dir.filePath("demo/lumenar-demo.ild"));
        QVERIFY(show.open(QIODevice::ReadOnly) &&
                writeTestFile(m_dir, "demo/cut.ild", show.read(3000)) != "");
        QStringList args{"--programs", m_usr + "/bin"};
        for (const QFileInfo& file : QDir(m_dir.filePath("demo")).entryInfoList(QDir::Files))
            args << file.filePath();
        const Result r = run(SOURCE "/tests/thumbnail-factory.py", args,
                             {"QT_QPA_PLATFORM=wayland", "XDG_RUNTIME_DIR=", "HOME=" + m_dir.path(),
                              // the installed thumbnailer entry, the system's file types with ours
                              "XDG_DATA_DIRS=" + m_usr + "/share:" + m_dir.filePath("system")});
        if (r.status == 77)
            QSKIP(qPrintable(r.err));
        // A thumbnailer that leaves files behind is reported on stderr.
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(r.out, QStringLiteral("cut.ild: 128x128\nFlower.pic: 128x128\nlumenar-demo.ild: "
                                       "128x128\nLumenar.ani: failed\nLumenar.ccat: 128x128\n"
                                       "Spiral.pic: 128x128\n"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");

        const auto row = [](const char* tag, const QString& args, int action, const char* file) {
            QTest::newRow(tag) << args.split(' ') << action << file;
        };
        const int run = CommandLine::Run, usage = CommandLine::UsageError;
        row("nothing", "lumenar", run, "");
        row("two files", "lumenar a.ild b.pic", run, "a.ild");
        row("Qt's own option first", "lumenar -platform xcb show.ild", run, "show.ild");
        row("Finder's process number", "lumenar -psn_0_12345 a.ild", run, "a.ild");
        row("a dash after --", "lumenar -- -a.ild", run, "-a.ild");
        row("-h", "lumenar -h a.ild", CommandLine::Help, "");
        row("unknown option", "lumenar -x a.ild", usage, "");
        row("Qt's option without value", "lumenar -style", usage, "");
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

    void bundle()
    {
        // What macOS reads from the description: every document type is viewed, ILDA imported
        // (Lumenar does not own the format), and the names others use too are an alternative.
        QFile file(QStringLiteral(INFO_PLIST));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList plist;
        if (xml.readNextStartElement() && xml.readNextStartElement())
            flatten(xml, QString(), plist);
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QStringList kept = plist.filter(QRegularExpression(
            "^(CFBundle(Identifier|ShortVersionString)|NS|.*/(CFBundleType(Role|Extensions)"
            "|LSHandlerRank|LSItemContentTypes|UTType(Identifier|ConformsTo|TagSpecification)))"));
        kept.replaceInStrings("CFBundleDocumentTypes/", "").replaceInStrings("CFBundleType", "");
        kept.replaceInStrings(QRegularExpression("^UTImportedTypeDeclarations/0/(UTType)?"), "UT ");
        const char* expected =
            "CFBundleIdentifier=" LUMENAR_APP_ID " CFBundleShortVersionString=" LUMENAR_VERSION
            " NSHighResolutionCapable=true NSPrincipalClass=NSApplication 0/Role=Viewer"
            " 0/LSHandlerRank=Default 0/LSItemContentTypes/0=org.lumenar.ilda 0/Extensions/0=ild"
            " 0/Extensions/1=ilda 1/Role=Viewer 1/LSHandlerRank=Alternate 1/Extensions/0=pic"
            " 2/Role=Viewer 2/LSHandlerRank=Default 2/Extensions/0=ccat 3/Role=Viewer"
            " 3/LSHandlerRank=Alternate 3/Extensions/0=ani UT Identifier=org.lumenar.ilda"
            " UT ConformsTo/0=public.data UT TagSpecification/public.filename-extension/0=ild"
            " UT TagSpecification/public.filename-extension/1=ilda"
            " UT TagSpecification/public.mime-type=application/x-ilda";
        QCOMPARE(kept.join(' '), QString::fromUtf8(expected));

        // The icon: the element types that hold pictures, by their size.
        QFile icns(QStringLiteral(LUMENAR_ICNS));
        if (icns.fileName().isEmpty())
            QSKIP("no png2icns to make the icon (make test installs it)");
        QVERIFY(icns.open(QIODevice::ReadOnly));
        const QByteArray data = icns.readAll();
        const QHash<QByteArray, int> sizes{
            {"is32", 16},  {"icp4", 16},  {"ic04", 16},  {"il32", 32},  {"ic05", 32},
            {"icp5", 32},  {"ic11", 32},  {"it32", 128}, {"ic07", 128}, {"ic08", 256},
            {"ic13", 256}, {"ic09", 512}, {"ic14", 512}, {"ic10", 1024}};
        QSet<int> found;
        for (qint64 pos = 8, length = 8; pos + 8 <= data.size() && length >= 8; pos += length) {
            found << sizes.value(data.mid(int(pos), 4));
            length = qFromBigEndian<quint32>(data.constData() + pos + 4);
        }
        QCOMPARE(found - QSet<int>{0}, (QSet<int>{16, 32, 128, 256, 512, 1024}));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
