// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files: things that are not files, animations that multiply memory, debug floods, a
// way out of long loads, and recent files that survive a change of folder.
#include "PyxBuilder.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "check/Conformance.h"

#include <QProgressDialog>
#include <QSettings>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestHardening : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Probe m_probe;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        isolateSettings();
        QVERIFY(PyxBuilder().picHeader(4, 1, 0).point(0, 1, 2, 3).write(path("C.catl/P.pic")));
        QVERIFY(PyxBuilder().aniHeader(1).entry("C", "Fifo").count(0).write(path("fifo.ani")));
        const QByteArray entry = PyxBuilder().entry("C", "P").data();
        for (int n : {2000, 1000000}) {
            const PyxBuilder ani = PyxBuilder().aniHeader(n).bytes(entry.repeated(n)).count(0);
            QVERIFY(ani.write(path(QString::number(n) + ".ani")));
        }
        IldaBuilder frames;
        for (int f = 0; f < 2000; ++f)
            frames.header(5, "F", "", 1, f, 2000).point5(f, 0, 0, 1, 2, 3);
        QVERIFY(!writeTestFile(m_dir, "frames.ild", frames.end().bytes()).isEmpty());
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path("zero.ild")));
        for (const char* fifo : {"pipe.ild", "C.catl/Fifo.pic"})
            QCOMPARE(::mkfifo(QFile::encodeName(path(fifo)).constData(), 0600), 0);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("budget");
        QTest::addColumn<QString>("named"); // the file it cannot open, or none past the budget
        QTest::newRow("FIFO") << "pipe.ild" << QByteArray() << "pipe.ild";
        QTest::newRow("/dev/zero through a link") << "zero.ild" << QByteArray() << "zero.ild";
        QTest::newRow("FIFO named by an animation")
            << "fifo.ani" << QByteArray() << "C.catl/Fifo.pic";
        QTest::newRow("ILDA frames past the budget") << "frames.ild" << QByteArray("100000") << "";
        QTest::newRow("animation past the budget") << "2000.ani" << QByteArray("100000") << "";
    }
    // Pipes and devices would block or never end if opened: failing here means failing at once.
    void refused()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, budget);
        QFETCH(QString, named);
        const QString message = named.isEmpty()
                                    ? QStringLiteral("Not enough memory to show this file!")
                                    : QStringLiteral("Cannot open '%1'!").arg(path(named));
        qputenv("LUMENAR_MEMORY_BUDGET", budget);
        QCOMPARE(m_probe.load(path(file)), message); // the inspector's road
        MainWindow w{QString()};
        ModalCloser closer;
        w.openFile(path(file));
        qunsetenv("LUMENAR_MEMORY_BUDGET");
        QCOMPARE(closer.seen(), QStringList(QStringLiteral("Lumenar: ") + message));
        QCOMPARE(globalIldaFrames.getNumberOfFrames() + w.m_infoWindow.model()->rowCount(), 0);
        QString checked; // the conformance check opens files the same way
        Conformance::check(path(file), [&](const Finding& f) { checked = f.text; });
        QVERIFY(!budget.isEmpty() || checked == message);
    }

    // What a million entries naming one picture add to the peak of a child process.
    void millionEntries()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the address sanitizer's own bookkeeping hides the figure");
#endif
        int pipe[2];
        QCOMPARE(::pipe(pipe), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            rusage before, after;
            ::getrusage(RUSAGE_SELF, &before);
            const bool ok =
                m_probe.load(path("1000000.ani")).isEmpty() && m_probe.frames() == 1000000;
            ::getrusage(RUSAGE_SELF, &after);
            const qint64 grown = ok ? (after.ru_maxrss - before.ru_maxrss) * 1024 : -1;
            ::_exit(::write(pipe[1], &grown, sizeof grown) == sizeof grown ? 0 : 1);
        }
        qint64 grown = -1;
        QCOMPARE(::read(pipe[0], &grown, sizeof grown), ssize_t(sizeof grown));
        QCOMPARE(::waitpid(child, nullptr, 0), child);
        qInfo("a million entries: %lld bytes each", grown / 1000000);
        // About 120 bytes an entry measured; 970 before rows were light.
        QVERIFY2(grown > 0 && grown < 1000000 * 160, qPrintable(QString::number(grown)));
    }

    void flood_data()
    {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("chunks"); // unknown chunks in each picture
        QTest::newRow("five chunks") << 1 << 5;
        QTest::newRow("eight chunks") << 1 << 8;
        QTest::newRow("four chunks in each of two pictures") << 2 << 4;
    }
    void flood()
    {
        QFETCH(int, pictures);
        QFETCH(int, chunks);
        PyxBuilder pic, ani;
        pic.picHeader(4, 0, quint32(chunks * 8));
        for (int c = 0; c < chunks; ++c)
            pic.chunk(7, 0);
        ani.aniHeader(pictures);
        for (int p = 0; p < pictures; ++p) {
            QVERIFY(pic.write(path(QStringLiteral("F.catl/%1.pic").arg(p))));
            ani.entry("F", QByteArray::number(p));
        }
        QVERIFY(ani.count(0).write(path("flood.ani")));
        DebugCatcher catcher;
        QCOMPARE(m_probe.load(path("flood.ani")), QString());
        const QString line = QStringLiteral("Unknown Extension Chunk!");
        QStringList expected = QVector<QString>(5, line).toList();
        if (pictures * chunks > 5) // five lines shown, the rest counted
            expected << line + QString(" (%1 more times, not shown)").arg(pictures * chunks - 5);
        QCOMPARE(DebugCatcher::lines(), expected);
    }

    // The hook's clock lets 100 ms pass per section; a posted call closes the dialog as soon as
    // the load lets events through.
    void cancel()
    {
        MainWindow w{QString()};
        w.m_loadClock = [now = qint64(0)]() mutable { return now += 100; };
        bool closed = false;
        QMetaObject::invokeMethod(
            &w, [&] { closed = w.findChild<QProgressDialog*>()->close(); }, Qt::QueuedConnection);
        ModalCloser closer; // an error box must not come
        w.openFile(path("frames.ild"));
        QVERIFY(closed);
        QVERIFY(closer.boxes.isEmpty() || closer.boxes.first().text.isEmpty());
        QCOMPARE(globalIldaFrames.getNumberOfFrames() + w.m_infoWindow.model()->rowCount(), 0);
        // The window keeps working, and a file named from the current folder is remembered
        // with its whole path.
        w.m_loadClock = LoadProgress::Clock();
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        w.openFile(QStringLiteral("frames.ild"));
        QDir::setCurrent(before);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 2000);
        QCOMPARE(QSettings().value("RecentFiles").toStringList().value(0), path("frames.ild"));
    }
};

QTEST_MAIN(TestHardening)

#include "tst_hardening.moc"
