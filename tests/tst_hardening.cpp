// Hostile files: things that are not files, animations that multiply memory, debug floods, a
// way out of long loads, and recent files that survive a change of folder.
#include "IldaBuilder.h"
#include "ModalCloser.h"
#include "PyxBuilder.h"

#include "app/MainWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"

#include <QProgressDialog>
#include <QSettings>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

class TestWindow : public MainWindow
{
public:
    using MainWindow::MainWindow;

protected:
    void endProcess() override {}
};

class TestHardening : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    InfoWindow m_info;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString load(const QString& file) { return globalIldaFrames.loadFile(file, m_info); }
    static bool empty(const InfoWindow& info)
    {
        return globalIldaFrames.getNumberOfFrames() == 0 && info.model()->rowCount() == 0;
    }
    static QByteArray animation(int entries, const QByteArray& picture = "P")
    {
        return PyxBuilder().aniHeader(entries).data() +
               PyxBuilder().entry("C", picture).data().repeated(entries) + '\0';
    }

    static QStringList s_debug;
    static void catchDebug(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        s_debug << text;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(PyxBuilder().picHeader(4, 1, 0).point(0, 1, 2, 3).write(path("C.catl/P.pic")));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe.ild")).constData(), 0600), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(path("C.catl/Fifo.pic")).constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path("zero.ild")));
#endif
    }

    void notRegular_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("refused");
#ifndef Q_OS_UNIX
        QSKIP("needs named pipes and /dev/zero");
#endif
        QTest::newRow("FIFO") << path("pipe.ild") << path("pipe.ild");
        QTest::newRow("/dev/zero through a link") << path("zero.ild") << path("zero.ild");
        QVERIFY(PyxBuilder().aniHeader(1).entry("C", "Fifo").count(0).write(path("fifo.ani")));
        QTest::newRow("FIFO named by an animation") << path("fifo.ani") << path("C.catl/Fifo.pic");
    }
    // Each would block or never end if it were opened: failing here means failing at once.
    void notRegular()
    {
        QFETCH(QString, file);
        QFETCH(QString, refused);
        const QString message = QStringLiteral("Cannot open '%1'!").arg(refused);

        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(Inspector::run({"--json", file}, outStream, errStream),
                 int(Inspector::LoadFailed));
        QVERIFY2(out.contains(Inspector::jsonString(message)), qPrintable(out));

        TestWindow w{QString()};
        ModalCloser closer;
        w.openFile(file);
        QCOMPARE(closer.seen(), QStringList(QStringLiteral("Lumenar: ") + message));
        QVERIFY(empty(w.m_infoWindow));
    }

    // Measured in a child process: what a million entries add to its peak.
    void millionEntries()
    {
#ifndef Q_OS_UNIX
        QSKIP("measures with fork and getrusage");
#else
        constexpr qint64 Entries = 1000000;
        constexpr qint64 BytesPerEntry = 160; // about 120 measured; 970 before rows were light
        QVERIFY(PyxBuilder().bytes(animation(Entries)).write(path("million.ani")));
        int pipe[2];
        QCOMPARE(::pipe(pipe), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            rusage before;
            ::getrusage(RUSAGE_SELF, &before);
            const bool ok = load(path("million.ani")).isEmpty() &&
                            globalIldaFrames.getNumberOfFrames() == Entries;
            rusage after;
            ::getrusage(RUSAGE_SELF, &after);
            const qint64 grown = ok ? (after.ru_maxrss - before.ru_maxrss) * 1024 : -1;
            ::_exit(::write(pipe[1], &grown, sizeof grown) == sizeof grown ? 0 : 1);
        }
        ::close(pipe[1]);
        qint64 grown = -1;
        QCOMPARE(::read(pipe[0], &grown, sizeof grown), ssize_t(sizeof grown));
        ::close(pipe[0]);
        QCOMPARE(::waitpid(child, nullptr, 0), child);
        qInfo("a million entries: %lld bytes each", grown / Entries);
        QVERIFY(grown > 0);
        QVERIFY2(grown < Entries * BytesPerEntry, qPrintable(QString::number(grown)));
#endif
    }

    void budget_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        IldaBuilder frames;
        for (int f = 0; f < 2000; ++f)
            frames.header(5, "F", "", 1, f, 2000).point5(f, 0, 0, 1, 2, 3);
        QTest::newRow("ILDA frames") << frames.end().bytes() << "frames.ild";
        PyxBuilder pictures;
        pictures.ccatHeader(4, 1, 0).section(2000);
        for (int p = 0; p < 2000; ++p)
            pictures.pictureHeader("P", 0, 1).point(0, p, 0, 0);
        QTest::newRow("catalogue pictures") << pictures.data() << "pictures.ccat";
        QTest::newRow("animation entries") << animation(2000) << "entries.ani";
    }
    // Each file loads under the normal budget and stops at a small one.
    void budget()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QVERIFY(PyxBuilder().bytes(bytes).write(path(name)));
        QCOMPARE(load(path(name)), QString());
        qputenv("LUMENAR_MEMORY_BUDGET", "100000");
        const QString message = load(path(name));
        qunsetenv("LUMENAR_MEMORY_BUDGET");
        QCOMPARE(message, QStringLiteral("Not enough memory to show this file!"));
        QVERIFY(empty(m_info));
    }

    void flood_data()
    {
        QTest::addColumn<int>("chunks");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QStringList>("lines");
        const QString line = QStringLiteral("Unknown Extension Chunk!");
        QTest::newRow("five") << 5 << 1 << QStringList(QVector<QString>(5, line).toList());
        QStringList capped = QVector<QString>(5, line).toList();
        QTest::newRow("eight") << 8 << 1
                               << (capped + QStringList(line + " (3 more times, not shown)"));
        QTest::newRow("four in each of two pictures")
            << 4 << 2 << (capped + QStringList(line + " (3 more times, not shown)"));
    }
    void flood()
    {
        QFETCH(int, chunks);
        QFETCH(int, pictures);
        QFETCH(QStringList, lines);
        PyxBuilder pic;
        pic.picHeader(4, 1, quint32(chunks * 8));
        for (int c = 0; c < chunks; ++c)
            pic.chunk(7, 0);
        PyxBuilder ani;
        ani.aniHeader(pictures);
        for (int p = 0; p < pictures; ++p) {
            QVERIFY(PyxBuilder(pic)
                        .point(0, 1, 2, 3)
                        .write(path(QStringLiteral("F.catl/%1.pic").arg(p))));
            ani.entry("F", QByteArray::number(p));
        }
        QVERIFY(ani.count(0).write(path("flood.ani")));
        s_debug.clear();
        const QtMessageHandler previous = qInstallMessageHandler(catchDebug);
        const QString message = load(path("flood.ani"));
        qInstallMessageHandler(previous);
        QCOMPARE(message, QString());
        QCOMPARE(s_debug, lines);
    }

    void cancel_data()
    {
        QTest::addColumn<bool>("slow");
        QTest::newRow("slow: the dialog is closed") << true;
        QTest::newRow("quick: no dialog") << false;
    }
    // The hook's clock says 100 ms pass per section; a posted call closes the dialog once the
    // load lets events through.
    void cancel()
    {
        QFETCH(bool, slow);
        IldaBuilder b;
        for (int f = 0; f < 50; ++f)
            b.header(1, "F", "", 1, f, 50).point1(f, 0, 0, 0);
        const QString file = writeTestFile(m_dir, "long.ild", b.end().bytes());
        TestWindow w{QString()};
        qint64 now = 0;
        if (slow)
            w.m_loadClock = [&now] { return now += 100; };
        bool closed = false;
        QMetaObject::invokeMethod(
            &w,
            [&] {
                if (auto* dialog = w.findChild<QProgressDialog*>())
                    closed = dialog->close();
            },
            Qt::QueuedConnection);
        ModalCloser closer; // catches an error box, which must not come
        w.openFile(file);
        QCOMPARE(closed, slow);
        for (const ModalCloser::Box& box : closer.boxes)
            QCOMPARE(box.text, QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), slow ? 0 : 50);
        QCOMPARE(w.m_infoWindow.model()->rowCount(), slow ? 0 : 50);
        QCOMPARE(w.windowTitle(),
                 slow ? QStringLiteral("Lumenar") : QStringLiteral("long.ild - Lumenar"));
        // The window keeps working.
        w.m_loadClock = LoadProgress::Clock();
        w.openFile(file);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 50);
    }

    void recentIsAbsolute()
    {
        QVERIFY(PyxBuilder()
                    .bytes(IldaBuilder().header(1, "F", "", 1).point1(0, 0, 0, 0).end().bytes())
                    .write(path("show.ild")));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        {
            TestWindow w(QStringLiteral("show.ild"));
        }
        QDir::setCurrent(before);
        QCOMPARE(QSettings().value("RecentFiles").toStringList().value(0),
                 QFileInfo(path("show.ild")).absoluteFilePath());
    }
};

QStringList TestHardening::s_debug;

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestHardening test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hardening.moc"
