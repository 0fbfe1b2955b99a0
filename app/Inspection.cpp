// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Inspection.h"

#include "browse/ReloadWatcher.h"
#include "browse/ShowFolder.h"
#include "check/Conformance.h"
#include "check/ControllerCheck.h"
#include "check/FrameFacts.h"
#include "playback/Player.h"
#include "problems/ProblemsWindow.h"
#include "views/IldaView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace {

const char KeyShowAxes[] = "ShowAxes";

} // namespace

Inspection::Inspection(QMainWindow* window, Player* player)
    : QObject(window), m_window(window), m_player(player), m_problems(new ProblemsWindow(window)),
      m_watcher(new ReloadWatcher(this)), m_statusLabel(new QLabel)
{
    // Two lines when there is word of the last load: the slider keeps its room.
    m_statusLabel->setMinimumWidth(1);
    window->statusBar()->addWidget(m_statusLabel);

    auto action = [this, window](const QString& text, const QKeySequence& keys, auto slot) {
        auto* a = new QAction(text, window);
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto request = [this](Load how) { return [this, how] { emit loadRequested(m_file, how); }; };
    const auto native = [](const QString& keys) {
        return QKeySequence(keys, QKeySequence::NativeText);
    };
    m_readableAction =
        action(tr("Open Rea&dable Frames"), native(tr("Ctrl+Shift+R")), request(Readable));
    m_reloadAction = action(tr("&Reload"), native(tr("F5")), request(Reload));
    m_nextFileAction =
        action(tr("Next File"), QKeySequence(Qt::CTRL + Qt::Key_PageDown), [this] { stepFile(1); });
    m_previousFileAction = action(tr("Previous File"), QKeySequence(Qt::CTRL + Qt::Key_PageUp),
                                  [this] { stepFile(-1); });
    m_problemsAction = action(tr("&Problems"), native(tr("F8")), &Inspection::showProblems);
    m_zoomToFitAction = action(tr("Zoom to &Fit"), native(tr("Ctrl+9")), &Inspection::zoomToFit);
    m_showAxesAction = action(tr("Show &Axes"), QKeySequence(), &Inspection::showAxes);
    m_showAxesAction->setCheckable(true);

    connect(m_problems, &ProblemsWindow::frameRequested, this, &Inspection::frameRequested);
    connect(m_problems, &ProblemsWindow::openReadableRequested, m_readableAction,
            &QAction::trigger);
    connect(m_watcher, &ReloadWatcher::changed, this, &Inspection::reloadWhenFree);
    connect(m_player, &Player::stateChanged, this, &Inspection::frameShown);
    updateActions();
}

Inspection::~Inspection() = default;

void Inspection::readSettings(const QSettings& settings)
{
    IldaView::m_showAxes = settings.value(KeyShowAxes, false).toBool();
    m_showAxesAction->setChecked(IldaView::m_showAxes);
}

void Inspection::writeSettings(QSettings& settings) const
{
    settings.setValue(KeyShowAxes, IldaView::m_showAxes);
}

bool Inspection::load(const QString& fileName, Load how, InfoWindow& info,
                      const IldaFrames::Progress& progress)
{
    const QString path = QFileInfo(QDir::fromNativeSeparators(fileName)).absoluteFilePath();
    const QString native = QDir::toNativeSeparators(fileName);
    const QString name = QFileInfo(path).fileName();
    // The load lets timer events through; a reload keeps the show going.
    const bool playing = m_player->isPlaying();
    m_player->stop();
    const auto done = [&](bool replaced) {
        if (replaced && how != Reload)
            IldaView::Reset(true); // a reload keeps the views as they were
        m_player->fileChanged();
        if (playing && how == Reload)
            m_player->play();
        return replaced;
    };
    // The check runs in a store of its own: a file still being written costs nothing on screen.
    if (how == Reload) {
        bool stopped = false;
        const QString error = Conformance::loadPrivately(native, [&](qint64 bytes) {
            // The dialog stays up for the load that follows.
            stopped = stopped || (bytes != IldaFrames::LoadEnded && progress && !progress(bytes));
            return !stopped;
        });
        if (stopped)
            return done(false);
        if (!error.isEmpty()) {
            m_file = path;
            m_failed = true;
            setNotice(tr("Reload of %1 failed: details in View > Problems").arg(name), error);
            watch();
            return done(false);
        }
    }

    bool ok = true;
    m_damaged = false;
    if (how == Readable) {
        const IldaFrames::Readable readable = globalIldaFrames.loadReadable(native, info, progress);
        ok = !globalIldaFrames.wasCancelled();
        m_damaged = ok && !readable.error.isEmpty();
        const int kept = globalIldaFrames.getNumberOfFrames();
        setNotice(
            !m_damaged ? QString()
            : kept == 1
                ? tr("1 frame kept; the failed section starts at byte %L1").arg(readable.stoppedAt)
                : tr("%L1 frames kept; the failed section starts at byte %L2")
                      .arg(kept)
                      .arg(readable.stoppedAt));
    } else if (how == Open) {
        ok = globalIldaFrames.openFile(native, info, m_window, progress); // a failure shows its box
    } else {
        const int frame = globalIldaFrames.getCurrentFrameNumber();
        ok = globalIldaFrames.loadFile(native, info, progress).isEmpty();
        globalIldaFrames.gotoFrame(frame); // the same frame number, when it still exists
    }
    const bool cancelled = globalIldaFrames.wasCancelled();
    m_failed = !ok && !cancelled;
    m_file = cancelled ? QString() : path;
    m_loaded = ok ? path : QString();
    if (m_failed)
        setNotice(tr("%1 could not be loaded: details in View > Problems").arg(name));
    else if (!m_damaged)
        setNotice(QString());
    watch();
    return done(true);
}

QString Inspection::getTitleName() const
{
    const QString name = QFileInfo(m_loaded).fileName();
    return m_damaged ? tr("%1 (damaged)").arg(name) : name;
}

void Inspection::frameShown()
{
    const IldaFrame frame = globalIldaFrames.getCurrentFrame();
    m_facts = globalIldaFrames.getNumberOfFrames() == 0
                  ? QString()
                  : FrameFacts::text(frame.getName(), frame, m_player->getPps());
    showStatus();
}

// After every load and failed reload: the watcher, the actions and the Problems window follow
// the file.
void Inspection::watch()
{
    QStringList files;
    if (!m_file.isEmpty())
        files << m_file;
    if (Conformance::controllerKind(m_file) == QLatin1String("ani"))
        files << ControllerCheck::run(m_file, QStringLiteral("ani"), [](const Finding&) {
                 }).pictures;
    m_watcher->setFiles(files);
    updateActions();
    m_problemsStale = true;
    if (m_problems->isVisible())
        checkProblems();
}

void Inspection::updateActions()
{
    const bool file = !m_file.isEmpty();
    for (QAction* a : {m_reloadAction, m_nextFileAction, m_previousFileAction, m_problemsAction})
        a->setEnabled(file);
    m_readableAction->setEnabled(m_failed);
    m_problems->setReadableEnabled(m_failed);
}

void Inspection::setNotice(const QString& text, const QString& more)
{
    m_notice = text;
    m_noticeMore = more;
    showStatus();
}

void Inspection::showStatus()
{
    QStringList lines;
    for (const QString& line : {m_notice, m_facts})
        if (!line.isEmpty())
            lines << line;
    m_statusLabel->setText(lines.join(QLatin1Char('\n')));
    m_statusLabel->setToolTip(m_noticeMore.isEmpty()
                                  ? m_statusLabel->text()
                                  : m_statusLabel->text() + QLatin1Char('\n') + m_noticeMore);
}

void Inspection::showProblems()
{
    if (m_file.isEmpty())
        return;
    if (m_problemsStale)
        checkProblems();
    m_problems->show();
    m_problems->raise();
    m_problems->activateWindow();
}

void Inspection::checkProblems()
{
    m_problemsStale = false;
    // Findings lead to frames only while the store holds the file checked.
    m_problems->check(m_file, m_loaded == m_file ? globalIldaFrames.getNumberOfFrames() : 0);
}

void Inspection::reloadWhenFree()
{
    // Under a dialog (an export may be reading the store, a box may be up) the reload waits.
    if (QApplication::activeModalWidget())
        QTimer::singleShot(ReloadWatcher::DefaultQuiet, this, &Inspection::reloadWhenFree);
    else
        m_reloadAction->trigger();
}

void Inspection::stepFile(int step)
{
    const QString next = ShowFolder::step(m_file, step);
    if (!next.isEmpty())
        emit loadRequested(next, Open);
}

void Inspection::zoomToFit()
{
    // Every view has the same size; the one view of a single layout is the central widget.
    QWidget* central = m_window->centralWidget();
    const IldaView* view = qobject_cast<IldaView*>(central);
    if (!view && central)
        view = central->findChild<IldaView*>();
    if (!view)
        return;
    IldaView::ZoomToFit(globalIldaFrames.getCurrentFrame(), qMin(view->width(), view->height()));
    m_window->update();
}

void Inspection::showAxes(bool on)
{
    IldaView::m_showAxes = on;
    m_window->update();
}
