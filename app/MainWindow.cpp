// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include "app/Inspection.h"
#include "export/ExportDialogs.h"
#include "export/FramePainter.h"
#include "model/IldaFrames.h"
#include "output/LaserControl.h"
#include "playback/Player.h"
#include "views/IldaView.h"
#include "views/ViewLayouts.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>

namespace {

const char KeyShowBlankedLines[] = "ShowBlankedLines";
const char KeyShowDots[] = "ShowDots";
const char KeyView[] = "View";
const char KeyViewAll[] = "ViewAll";

const char* const ViewNames[] = {"Front", "Side", "Top", "Perspective"};

QKeySequence keys(const QString& text)
{
    return QKeySequence(text, QKeySequence::NativeText);
}

} // namespace

MainWindow::MainWindow(const QString& fileName)
{
    setWindowTitle(tr("Lumenar"));
    setGeometry(50, 50, 650, 650);
    setMinimumSize(100, 100);
    m_infoWindow.setWindowTitle(tr("Information"));

    m_player = new Player(this);
    m_exports = new ExportDialogs(this);
    connect(m_player, &Player::frameDue, this, &MainWindow::playFrame);
    connect(m_player, &Player::stateChanged, this, &MainWindow::playbackStateChanged);
    m_inspection = new Inspection(this, m_player);
    connect(m_inspection, &Inspection::loadRequested, this, &MainWindow::openFile);
    connect(m_inspection, &Inspection::frameRequested, this, &MainWindow::playFrame);
    m_laser = new LaserControl(this);

    // Before the actions: they take their checked state from the store.
    readSettings();

    createActions();
    createMenus();
    createAdditionalShortcuts();
    createStatusBar();
    updateFrameActions();

    activeViewChanged();
    m_viewAllAction->setChecked(m_viewAll);
    updateViews();

    setAcceptDrops(true);
    connect(&m_infoWindow, &InfoWindow::selectionChanged, this,
            &MainWindow::frameSelectedInfoWindow);
    show();

    if (!fileName.isEmpty())
        openFile(fileName);
}

MainWindow::~MainWindow() = default;

void MainWindow::readSettings()
{
    QSettings settings;
    globalIldaFrames.setShowBlankedLines(settings.value(KeyShowBlankedLines, false).toBool());
    globalIldaFrames.setShowDots(settings.value(KeyShowDots, true).toBool());
    const QString view = settings.value(KeyView, QString()).toString();
    IldaView::m_activeView = 0;
    for (unsigned i = 0; i < 4; ++i)
        if (view == QLatin1String(ViewNames[i]))
            IldaView::m_activeView = i;
    m_viewAll = settings.value(KeyViewAll, true).toBool();
    m_player->readSettings(settings);
    m_inspection->readSettings(settings);
    m_exports->readSettings(settings);
    m_laser->readSettings(settings);
}

void MainWindow::writeSettings() const
{
    QSettings settings;
    if (IldaView::m_activeView < 4)
        settings.setValue(KeyView, QLatin1String(ViewNames[IldaView::m_activeView]));
    settings.setValue(KeyViewAll, m_viewAll);
    settings.setValue(KeyShowBlankedLines, globalIldaFrames.getShowBlankedLines());
    settings.setValue(KeyShowDots, globalIldaFrames.getShowDots());
    m_player->writeSettings(settings);
    m_inspection->writeSettings(settings);
    m_exports->writeSettings(settings);
    m_laser->writeSettings(settings);
    settings.sync();
}

void MainWindow::createActions()
{
    auto action = [this](const QString& text, const QKeySequence& shortcut, auto slot,
                         bool checkable = false) {
        auto* a = new QAction(text, this);
        a->setCheckable(checkable);
        if (!shortcut.isEmpty())
            a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    m_openAction = action(tr("&Open..."), keys(tr("Ctrl+O")), &MainWindow::fileOpen);
    m_exportPictureAction =
        action(tr("&Export Picture..."), keys(tr("Ctrl+E")), &MainWindow::fileExportPicture);
    m_exportAnimationAction =
        action(tr("Export &Animation..."), QKeySequence(), &MainWindow::fileExportAnimation);
    m_recentFiles = new RecentFiles(this);
    for (QAction* recent : m_recentFiles->getActions())
        connect(recent, &QAction::triggered, this, &MainWindow::fileOpenRecent);
    m_exitAction = new QAction(tr("E&xit"), this);
    m_exitAction->setShortcut(keys(tr("Ctrl+Q")));
    m_exitAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);

    m_zoomInAction = action(tr("Zoom &In"), keys(tr("Ctrl++")), &MainWindow::viewZoomIn);
    m_zoomOutAction = action(tr("Zoom &Out"), keys(tr("Ctrl+-")), &MainWindow::viewZoomOut);
    m_resetAction = action(tr("&Reset"), keys(tr("Ctrl+0")), &MainWindow::viewReset);

    m_viewFrontAction = action(tr("&Front"), keys(tr("Ctrl+F")), &MainWindow::viewFront);
    m_viewSideAction = action(tr("&Side"), keys(tr("Ctrl+S")), &MainWindow::viewSide);
    m_viewTopAction = action(tr("&Top"), keys(tr("Ctrl+T")), &MainWindow::viewTop);
    m_viewPerspectiveAction =
        action(tr("&Perspective"), keys(tr("Ctrl+P")), &MainWindow::viewPerspective);
    m_viewAllAction = action(tr("&All"), keys(tr("Ctrl+A")), &MainWindow::viewAll, true);

    auto* viewGroup = new QActionGroup(this);
    for (QAction* a :
         {m_viewFrontAction, m_viewSideAction, m_viewTopAction, m_viewPerspectiveAction}) {
        a->setCheckable(true);
        viewGroup->addAction(a);
    }

    m_frameFirstAction = action(tr("&First"), QKeySequence(QKeySequence::MoveToStartOfDocument),
                                &MainWindow::frameFirst);
    m_framePreviousAction = action(tr("&Previous"), QKeySequence(QKeySequence::MoveToPreviousPage),
                                   &MainWindow::framePrevious);
    m_frameNextAction =
        action(tr("&Next"), QKeySequence(QKeySequence::MoveToNextPage), &MainWindow::frameNext);
    m_frameLastAction = action(tr("&Last"), QKeySequence(QKeySequence::MoveToEndOfDocument),
                               &MainWindow::frameLast);

    m_showBlankedLinesAction = action(tr("Show &Blanked Lines"), keys(tr("Ctrl+B")),
                                      &MainWindow::optionsShowBlankedLines, true);
    m_showBlankedLinesAction->setChecked(globalIldaFrames.getShowBlankedLines());
    m_showDotsAction =
        action(tr("Show &Dots"), keys(tr("Ctrl+D")), &MainWindow::optionsShowDots, true);
    m_showDotsAction->setChecked(globalIldaFrames.getShowDots());
    m_showInformationAction =
        action(tr("Show &Information"), QKeySequence(), &MainWindow::optionsShowInformation, true);
    m_aboutAction = action(tr("&About Lumenar..."), QKeySequence(), &MainWindow::helpAbout);

    connect(&m_infoWindow, &InfoWindow::widgetClosed, this, &MainWindow::infoWindowClosed);
}

void MainWindow::createMenus()
{
    QMenuBar* bar = menuBar();
    if (!bar)
        return;
    // A null entry is a separator.
    auto menu = [bar](const QString& title, const QList<QAction*>& actions) {
        QMenu* m = bar->addMenu(title);
        for (QAction* a : actions)
            m->addAction(a ? a : m->addSeparator());
    };
    const Inspection* i = m_inspection;
    menu(tr("&File"), QList<QAction*>{m_openAction, i->getReloadAction(), i->getReadableAction(),
                                      nullptr, i->getNextFileAction(), i->getPreviousFileAction(),
                                      nullptr, m_exportPictureAction, m_exportAnimationAction,
                                      m_exports->getOptionsAction(), nullptr} +
                          m_recentFiles->getActions() + QList<QAction*>{nullptr, m_exitAction});
    updateFileOpenRecentActions();
    menu(tr("&View"),
         {m_zoomInAction, m_zoomOutAction, i->getZoomToFitAction(), m_resetAction, nullptr,
          m_viewFrontAction, m_viewSideAction, m_viewTopAction, m_viewPerspectiveAction, nullptr,
          m_viewAllAction, nullptr, i->getProblemsAction()});
    menu(tr("&Frame"),
         {m_frameFirstAction, m_framePreviousAction, m_frameNextAction, m_frameLastAction, nullptr,
          m_player->getPlayAction(), m_player->getLoopAction()});
    menu(tr("&Laser"), m_laser->getActions());
    menu(tr("&Options"), {m_showBlankedLinesAction, m_showDotsAction, i->getShowAxesAction(),
                          nullptr, m_showInformationAction, nullptr, m_player->getSpeedAction()});
    menu(tr("&Help"), {m_aboutAction});
}

void MainWindow::createAdditionalShortcuts()
{
    auto shortcut = [this](const QKeySequence& key, auto slot) {
        auto* s = new QShortcut(key, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(QKeySequence::MoveToPreviousChar), [this] { viewMove(-1.0f, 0.0f); });
    shortcut(QKeySequence(QKeySequence::MoveToNextChar), [this] { viewMove(1.0f, 0.0f); });
    shortcut(QKeySequence(QKeySequence::MoveToPreviousLine), [this] { viewMove(0.0f, -1.0f); });
    shortcut(QKeySequence(QKeySequence::MoveToNextLine), [this] { viewMove(0.0f, 1.0f); });
    shortcut(keys(tr("+")), &MainWindow::frameNext);
    shortcut(keys(tr("-")), &MainWindow::framePrevious);
    shortcut(keys(tr("I")), &MainWindow::openInfoWindow);
    shortcut(keys(tr("Ctrl+I")), &MainWindow::helpAbout);
    shortcut(keys(tr("Alt+Return")), &MainWindow::toggleFullScreen);
    shortcut(keys(tr("Alt+Enter")), &MainWindow::toggleFullScreen);
    shortcut(keys(tr("Esc")), &MainWindow::quitFullScreen);
}

void MainWindow::updateViews()
{
    // New widgets every time: all view state lives on in IldaView's class members.
    QList<IldaView*> views;
    QWidget* central = m_viewAll
                           ? ViewLayouts::createGrid(&views)
                           : (views << ViewLayouts::createView(IldaView::m_activeView)).last();
    if (!central)
        return;
    for (IldaView* view : views)
        connect(view, &IldaView::activeViewChanged, this, &MainWindow::activeViewChanged);
    setCentralWidget(central);
}

void MainWindow::chooseView(unsigned int index)
{
    IldaView::m_activeView = index;
    activeViewChanged();
    updateViews();
}

void MainWindow::viewFront()
{
    chooseView(IldaView::Front);
}

void MainWindow::viewSide()
{
    chooseView(IldaView::Side);
}

void MainWindow::viewTop()
{
    chooseView(IldaView::Top);
}

void MainWindow::viewPerspective()
{
    chooseView(IldaView::Perspective);
}

void MainWindow::viewAll()
{
    m_viewAll = m_viewAllAction->isChecked();
    updateViews();
}

void MainWindow::activeViewChanged()
{
    QAction* const actions[] = {m_viewFrontAction, m_viewSideAction, m_viewTopAction,
                                m_viewPerspectiveAction};
    if (IldaView::m_activeView < 4)
        actions[IldaView::m_activeView]->setChecked(true);
}

void MainWindow::toggleFullScreen()
{
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void MainWindow::quitFullScreen()
{
    if (windowState() & Qt::WindowFullScreen)
        setWindowState(windowState() & ~Qt::WindowFullScreen);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    writeSettings();
    m_laser->blackout(true);
    // The program ends with its last window: an open information window must not keep it alive.
    m_closing = true;
    m_infoWindow.close();
    event->accept();
}

void MainWindow::createStatusBar()
{
    m_statusSlider = new MySlider(Qt::Horizontal);
    m_statusSlider->setRange(0, 0);
    m_statusSlider->setPageStep(1);
    m_statusSlider->setFocusPolicy(Qt::NoFocus);
    connect(m_statusSlider, &QSlider::valueChanged, this, &MainWindow::frameSelectedStatusSlider);

    m_statusLabel = new QLabel(tr(" 99999 / 99999 "));
    m_statusLabel->setMinimumWidth(m_statusLabel->sizeHint().width());
    m_statusLabel->setAlignment(Qt::AlignCenter);

    // Shown only while playing.
    m_rateLabel = new QLabel;
    m_rateLabel->setVisible(false);

    statusBar()->setSizeGripEnabled(false);
    statusBar()->addPermanentWidget(m_rateLabel, 0);
    statusBar()->addPermanentWidget(m_statusSlider, 1);
    statusBar()->addPermanentWidget(m_statusLabel, 0);

    updateStatusSlider();
    updateStatusLabel();
}

void MainWindow::updateFrameActions() const
{
    const bool first = globalIldaFrames.isFirst();
    const bool last = globalIldaFrames.isLast();
    m_frameFirstAction->setEnabled(!first);
    m_framePreviousAction->setEnabled(!first);
    m_frameNextAction->setEnabled(!last);
    m_frameLastAction->setEnabled(!last);
}

void MainWindow::updateStatusSlider()
{
    const int n = globalIldaFrames.getNumberOfFrames();
    m_statusSlider->setEnabled(n >= 2);
    if (n < 1) {
        m_statusSlider->setRange(0, 0);
        m_statusSlider->setValue(0);
        return;
    }
    // Read the frame first: narrowing the range may move the slider, and with it the store.
    const int current = globalIldaFrames.getCurrentFrameNumber();
    m_statusSlider->setRange(0, n - 1);
    m_statusSlider->setValue(qBound(0, current, n - 1));
}

void MainWindow::updateStatusLabel()
{
    const int n = globalIldaFrames.getNumberOfFrames();
    if (n > 0) {
        const int current = qBound(0, globalIldaFrames.getCurrentFrameNumber(), n - 1);
        m_statusLabel->setText(tr("%1 / %2").arg(current + 1).arg(n));
    } else {
        m_statusLabel->setText(tr("- / -"));
    }
}

void MainWindow::frameChanged(bool fromSlider, bool fromInfoWindow)
{
    updateFrameActions();
    if (!fromSlider)
        updateStatusSlider();
    updateStatusLabel();
    if (!fromInfoWindow)
        m_infoWindow.setSelection(globalIldaFrames.getCurrentFrameNumber());
    m_player->frameShown(globalIldaFrames.getCurrentFrameNumber());
    m_inspection->frameShown();
    m_laser->frameShown(globalIldaFrames.getCurrentFrameNumber());
    update();
}

void MainWindow::playFrame(int frame)
{
    globalIldaFrames.gotoFrame(frame);
    frameChanged(false, false);
}

void MainWindow::playbackStateChanged()
{
    if (!m_rateLabel)
        return;
    m_rateLabel->setText(m_player->getRateText());
    m_rateLabel->setVisible(m_player->isPlaying());
}

void MainWindow::frameFirst()
{
    globalIldaFrames.gotoFirst();
    frameChanged(false, false);
}

void MainWindow::framePrevious()
{
    globalIldaFrames.gotoPrevious();
    frameChanged(false, false);
}

void MainWindow::frameNext()
{
    globalIldaFrames.gotoNext();
    frameChanged(false, false);
}

void MainWindow::frameLast()
{
    globalIldaFrames.gotoLast();
    frameChanged(false, false);
}

void MainWindow::frameSelectedStatusSlider(int value)
{
    globalIldaFrames.gotoFrame(value);
    frameChanged(true, false);
}

void MainWindow::frameSelectedInfoWindow(int row)
{
    globalIldaFrames.gotoFrame(row);
    frameChanged(false, true);
}

void MainWindow::wheelEvent(QWheelEvent* event)
{
    if (!event)
        return;
    const int delta = IldaView::wheelDelta(event);
    if (delta > 0)
        globalIldaFrames.gotoPrevious();
    else if (delta < 0)
        globalIldaFrames.gotoNext();
    else
        return;
    frameChanged(false, false);
}

void MainWindow::viewZoomIn()
{
    IldaView::ZoomIn();
    update();
}

void MainWindow::viewZoomOut()
{
    IldaView::ZoomOut();
    update();
}

void MainWindow::viewReset()
{
    IldaView::Reset(false);
    update();
}

void MainWindow::viewMove(float dx, float dy)
{
    IldaView::MoveOrRotate(dx, dy);
    update();
}

void MainWindow::openFile(const QString& fileName, Inspection::Load how)
{
    if (fileName.isEmpty() || m_loading)
        return;
    m_loading = true;
    m_laser->blackout(true);
    bool replaced = false;
    {
        LoadProgress progress(this, fileName, m_loadClock);
        replaced = m_inspection->load(fileName, how, m_infoWindow, [this, &progress](qint64 bytes) {
            return !m_closing && progress.update(bytes);
        });
    }
    m_loading = false;
    if (!replaced)
        return;
    setFileName(m_inspection->getLoadedFile());
    frameChanged(false, false);
}

void MainWindow::setFileName(const QString& fileName)
{
    m_exports->setShow(fileName);
    setWindowTitle(fileName.isEmpty()
                       ? tr("Lumenar")
                       : tr("%1 - %2").arg(m_inspection->getTitleName(), tr("Lumenar")));
    if (!fileName.isEmpty() && !m_inspection->isDamaged())
        m_recentFiles->add(fileName); // the readable part of a damaged file is not listed
}

void MainWindow::fileOpen()
{
    openFile(QFileDialog::getOpenFileName(this, tr("Open File"), QString(),
                                          tr("ILDA Format Files (*.ild *.ilda);;All Files (*.*)")));
}

void MainWindow::fileOpenRecent()
{
    if (auto* action = qobject_cast<QAction*>(sender()))
        openFile(action->data().toString());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!data || !data->hasUrls())
        return;
    const QList<QUrl> urls = data->urls();
    openFile(urls.isEmpty() ? QString() : urls.first().toLocalFile());
}

int MainWindow::exportLayout() const
{
    return m_viewAll ? FramePainter::AllViews : int(IldaView::m_activeView);
}

void MainWindow::fileExportPicture()
{
    m_exports->exportPicture(globalIldaFrames.getCurrentFrameNumber(), exportLayout());
}

void MainWindow::fileExportAnimation()
{
    m_exports->exportAnimation(
        exportLayout(), [this](int f) { return m_player->getFrameDuration(f); },
        m_player->isLooping());
}

void MainWindow::optionsShowBlankedLines()
{
    globalIldaFrames.setShowBlankedLines(!globalIldaFrames.getShowBlankedLines());
    m_showBlankedLinesAction->setChecked(globalIldaFrames.getShowBlankedLines());
    update();
}

void MainWindow::optionsShowDots()
{
    globalIldaFrames.setShowDots(!globalIldaFrames.getShowDots());
    m_showDotsAction->setChecked(globalIldaFrames.getShowDots());
    update();
}

void MainWindow::optionsShowInformation()
{
    if (m_showInformationAction->isChecked())
        m_infoWindow.showRaised();
    else
        m_infoWindow.close();
}

void MainWindow::openInfoWindow()
{
    m_showInformationAction->setChecked(true);
    m_infoWindow.showRaised();
}

void MainWindow::infoWindowClosed()
{
    m_showInformationAction->setChecked(false);
}

void MainWindow::helpAbout()
{
    QMessageBox box(this);
    box.setWindowTitle(tr("About Lumenar"));
    box.setText(tr("<h3>Lumenar</h3>"
                   "<p>Based on Qt %1 (%2, %3 bit)</p>"
                   "<p>A viewer for laser-show frame files: ILDA shows and Vectrion Pyx pictures, "
                   "catalogues and animations, frame by frame, from the front, the side, the top "
                   "and in perspective.</p>")
                    .arg(QString::fromLatin1(qVersion()), QStringLiteral(LUMENAR_COMPILER),
                         QString::number(QSysInfo::WordSize)));
    box.setIconPixmap(QPixmap(QStringLiteral(":/res/Lumenar.png")));
    box.exec();
}
