#include "app/MainWindow.h"

#include "export/Exporter.h"
#include "export/FramePainter.h"
#include "model/IldaFrames.h"
#include "playback/Player.h"
#include "views/IldaView.h"
#include "views/ViewLayouts.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QWheelEvent>

#include <cstdlib>

namespace {

const char KeyShowBlankedLines[] = "ShowBlankedLines";
const char KeyShowDots[] = "ShowDots";
const char KeyView[] = "View";
const char KeyViewAll[] = "ViewAll";
const char KeyRecentFiles[] = "RecentFiles";

const char* const ViewNames[] = {"Front", "Side", "Top", "Perspective"};

QKeySequence keys(const QString& text)
{
    return QKeySequence(text, QKeySequence::NativeText);
}

} // namespace

MainWindow::MySlider::~MySlider() = default;

void MainWindow::MySlider::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

MainWindow::MainWindow(const QString& fileName)
{
    setWindowTitle(tr("Lumenar"));
    setGeometry(50, 50, 650, 650);
    setMinimumSize(100, 100);
    m_infoWindow.setWindowTitle(tr("Information"));
    connect(this, &QObject::destroyed, &m_infoWindow, &QWidget::close);

    m_player = new Player(this);
    connect(m_player, &Player::frameDue, this, &MainWindow::playFrame);
    connect(m_player, &Player::stateChanged, this, &MainWindow::playbackStateChanged);

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
    for (unsigned i = 0; i < 4; ++i) {
        if (view == QLatin1String(ViewNames[i]))
            IldaView::m_activeView = i;
    }
    m_viewAll = settings.value(KeyViewAll, true).toBool();
    m_player->readSettings(settings);
}

void MainWindow::writeSettings() const
{
    QSettings settings;
    if (IldaView::m_activeView < 4)
        settings.setValue(KeyView, QLatin1String(ViewNames[IldaView::m_activeView]));
    settings.setValue(KeyViewAll, m_viewAll);
    m_player->writeSettings(settings);
    settings.sync();
}

// --- Actions, menus and shortcuts -----------------------------------------------------------

void MainWindow::createActions()
{
    auto action = [this](const QString& text, const QKeySequence& shortcut, auto slot) {
        auto* a = new QAction(text, this);
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
    for (QAction*& recent : m_recentFileActions) {
        recent = new QAction(this);
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, &MainWindow::fileOpenRecent);
    }
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
    m_viewAllAction = action(tr("&All"), keys(tr("Ctrl+A")), &MainWindow::viewAll);
    m_viewAllAction->setCheckable(true);

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

    m_showBlankedLinesAction =
        action(tr("Show &Blanked Lines"), keys(tr("Ctrl+B")), &MainWindow::optionsShowBlankedLines);
    m_showBlankedLinesAction->setCheckable(true);
    m_showBlankedLinesAction->setChecked(globalIldaFrames.getShowBlankedLines());
    m_showDotsAction = action(tr("Show &Dots"), keys(tr("Ctrl+D")), &MainWindow::optionsShowDots);
    m_showDotsAction->setCheckable(true);
    m_showDotsAction->setChecked(globalIldaFrames.getShowDots());
    m_showInformationAction =
        action(tr("Show &Information"), QKeySequence(), &MainWindow::optionsShowInformation);
    m_showInformationAction->setCheckable(true);
    m_aboutAction = action(tr("&About Lumenar..."), QKeySequence(), &MainWindow::helpAbout);

    connect(&m_infoWindow, &InfoWindow::widgetClosed, this, &MainWindow::infoWindowClosed);
}

void MainWindow::createMenus()
{
    QMenuBar* bar = menuBar();
    if (!bar)
        return;

    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(m_openAction);
    file->addAction(m_exportPictureAction);
    file->addAction(m_exportAnimationAction);
    file->addSeparator();
    for (QAction* recent : m_recentFileActions)
        file->addAction(recent);
    file->addSeparator();
    file->addAction(m_exitAction);
    updateFileOpenRecentActions();

    QMenu* view = bar->addMenu(tr("&View"));
    view->addAction(m_zoomInAction);
    view->addAction(m_zoomOutAction);
    view->addAction(m_resetAction);
    view->addSeparator();
    view->addAction(m_viewFrontAction);
    view->addAction(m_viewSideAction);
    view->addAction(m_viewTopAction);
    view->addAction(m_viewPerspectiveAction);
    view->addSeparator();
    view->addAction(m_viewAllAction);

    QMenu* frame = bar->addMenu(tr("&Frame"));
    frame->addAction(m_frameFirstAction);
    frame->addAction(m_framePreviousAction);
    frame->addAction(m_frameNextAction);
    frame->addAction(m_frameLastAction);
    frame->addSeparator();
    frame->addAction(m_player->getPlayAction());
    frame->addAction(m_player->getLoopAction());

    QMenu* options = bar->addMenu(tr("&Options"));
    options->addAction(m_showBlankedLinesAction);
    options->addAction(m_showDotsAction);
    options->addSeparator();
    options->addAction(m_showInformationAction);
    options->addSeparator();
    options->addAction(m_player->getSpeedAction());

    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(m_aboutAction);
}

void MainWindow::createAdditionalShortcuts()
{
    auto shortcut = [this](const QKeySequence& key, auto slot) {
        auto* s = new QShortcut(key, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(QKeySequence::MoveToPreviousChar), &MainWindow::viewMoveLeft);
    shortcut(QKeySequence(QKeySequence::MoveToNextChar), &MainWindow::viewMoveRight);
    shortcut(QKeySequence(QKeySequence::MoveToPreviousLine), &MainWindow::viewMoveUp);
    shortcut(QKeySequence(QKeySequence::MoveToNextLine), &MainWindow::viewMoveDown);
    shortcut(keys(tr("+")), &MainWindow::frameNext);
    shortcut(keys(tr("-")), &MainWindow::framePrevious);
    shortcut(keys(tr("I")), &MainWindow::openInfoWindow);
    shortcut(keys(tr("Ctrl+I")), &MainWindow::helpAbout);
    shortcut(keys(tr("Alt+Return")), &MainWindow::toggleFullScreen);
    shortcut(keys(tr("Alt+Enter")), &MainWindow::toggleFullScreen);
    shortcut(keys(tr("Esc")), &MainWindow::quitFullScreen);
}

// --- Layout ---------------------------------------------------------------------------------

void MainWindow::updateViews()
{
    // New widgets every time: all view state lives on in IldaView's class members.
    if (m_viewAll) {
        QList<IldaView*> views;
        QWidget* grid = ViewLayouts::createGrid(&views);
        for (IldaView* view : views)
            connect(view, &IldaView::activeViewChanged, this, &MainWindow::activeViewChanged);
        setCentralWidget(grid);
        return;
    }
    IldaView* view = ViewLayouts::createView(IldaView::m_activeView);
    if (!view)
        return;
    connect(view, &IldaView::activeViewChanged, this, &MainWindow::activeViewChanged);
    setCentralWidget(view);
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
    event->accept();
    endProcess();
}

void MainWindow::endProcess()
{
    // An open information window must not keep the program alive.
    std::exit(0);
}

// --- Frames and the status bar --------------------------------------------------------------

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
    if (!m_statusSlider)
        return;
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
    if (!m_statusLabel)
        return;
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

void MainWindow::viewMoveLeft()
{
    IldaView::MoveOrRotate(-1.0f, 0.0f);
    update();
}

void MainWindow::viewMoveRight()
{
    IldaView::MoveOrRotate(1.0f, 0.0f);
    update();
}

void MainWindow::viewMoveUp()
{
    IldaView::MoveOrRotate(0.0f, -1.0f);
    update();
}

void MainWindow::viewMoveDown()
{
    IldaView::MoveOrRotate(0.0f, 1.0f);
    update();
}

// --- Opening files --------------------------------------------------------------------------

void MainWindow::openFile(const QString& fileName)
{
    if (fileName.isEmpty() || m_loading)
        return;
    m_loading = true;
    m_player->stop(); // the load lets timer events through
    bool loaded = false;
    {
        LoadProgress progress(this, fileName, m_loadClock);
        loaded =
            globalIldaFrames.openFile(QDir::toNativeSeparators(fileName), m_infoWindow, this,
                                      [&progress](qint64 bytes) { return progress.update(bytes); });
    }
    m_loading = false;
    // Absolute, so that the recent list still works when the program starts elsewhere.
    setFileName(loaded ? QFileInfo(QDir::fromNativeSeparators(fileName)).absoluteFilePath()
                       : QString());
    updateFrameActions();
    updateStatusSlider();
    updateStatusLabel();
    m_infoWindow.setSelection(globalIldaFrames.getCurrentFrameNumber());
    m_player->fileChanged(); // stops playback
    IldaView::Reset(true);
    update();
}

void MainWindow::setFileName(const QString& fileName)
{
    if (fileName.isEmpty()) {
        setWindowTitle(tr("Lumenar"));
        return;
    }
    setWindowTitle(tr("%1 - %2").arg(QFileInfo(fileName).fileName(), tr("Lumenar")));

    QSettings settings;
    QStringList files = settings.value(KeyRecentFiles).toStringList();
    files.removeAll(fileName);
    files.removeAll(QDir::toNativeSeparators(fileName));
    files.prepend(fileName);
    while (files.size() > RecentFileCount)
        files.removeLast();
    settings.setValue(KeyRecentFiles, files);
    updateFileOpenRecentActions();
}

void MainWindow::updateFileOpenRecentActions() const
{
    const QStringList files = QSettings().value(KeyRecentFiles).toStringList();
    const int n = qMin(files.size(), int(RecentFileCount));
    for (int i = 0; i < n; ++i) {
        // Escape ampersands so that "R&D.ild" is not shown as "RD.ild" with a mnemonic.
        QString name = QFileInfo(files[i]).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        m_recentFileActions[i]->setText(tr("&%1 %2").arg(QString::number(i + 1), name));
        m_recentFileActions[i]->setData(files[i]);
        m_recentFileActions[i]->setVisible(true);
    }
    for (int i = n; i < RecentFileCount; ++i)
        m_recentFileActions[i]->setVisible(false);
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

// --- Export --------------------------------------------------------------------------------

int MainWindow::exportLayout() const
{
    return m_viewAll ? FramePainter::AllViews : int(IldaView::m_activeView);
}

QSize MainWindow::exportSize() const
{
    return centralWidget() ? centralWidget()->size() : size();
}

void MainWindow::fileExportPicture()
{
    const QString png = tr("PNG Image (*.png)");
    const QString svg = tr("SVG Drawing (*.svg)");
    QString filter = png;
    QString fileName = QFileDialog::getSaveFileName(this, tr("Export Picture"), QString(),
                                                    png + QStringLiteral(";;") + svg, &filter);
    if (fileName.isEmpty())
        return;
    // A name ending in .png or .svg says what it wants; any other name gets the filter's suffix.
    Exporter::Format format = Exporter::formatOf(fileName);
    if (format != Exporter::Png && format != Exporter::Svg) {
        format = filter == svg ? Exporter::Svg : Exporter::Png;
        fileName += format == Exporter::Svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    }
    const QString error = Exporter::writePicture(fileName, format, globalIldaFrames.getCurrentFrameNumber(),
                                                exportLayout(), exportSize());
    if (!error.isEmpty())
        QMessageBox::critical(this, tr("Lumenar"), error);
}

void MainWindow::fileExportAnimation()
{
    const int count = globalIldaFrames.getNumberOfFrames();
    if (count < 1) {
        QMessageBox::information(this, tr("Lumenar"), tr("Open a show to export it."));
        return;
    }
    const QString gif = tr("Animated GIF (*.gif)");
    const QString sequence = tr("Numbered PNG Pictures in a New Folder (*)");
    QString filter = gif;
    QString fileName = QFileDialog::getSaveFileName(this, tr("Export Animation"), QString(),
                                                    gif + QStringLiteral(";;") + sequence, &filter);
    if (fileName.isEmpty())
        return;
    // A name ending in .gif is a GIF whatever the filter; with the GIF filter any name is one.
    Exporter::Format format = Exporter::Gif;
    if (Exporter::formatOf(fileName) != Exporter::Gif) {
        if (filter == sequence)
            format = Exporter::PngSequence;
        else
            fileName += QStringLiteral(".gif");
    }

    QProgressDialog progress(tr("Exporting %1 frames...").arg(count), tr("Cancel"), 0, count, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const Player* player = m_player;
    const QString error = Exporter::writeAnimation(
        fileName, format, exportLayout(), exportSize(),
        [player](int frame) { return player->getFrameDuration(frame); }, player->isLooping(),
        [&progress](int done, int) {
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!error.isEmpty())
        QMessageBox::critical(this, tr("Lumenar"), error);
}

// --- Options, information window, about box -------------------------------------------------

void MainWindow::optionsShowBlankedLines()
{
    globalIldaFrames.setShowBlankedLines(!globalIldaFrames.getShowBlankedLines());
    m_showBlankedLinesAction->setChecked(globalIldaFrames.getShowBlankedLines());
    QSettings().setValue(KeyShowBlankedLines, globalIldaFrames.getShowBlankedLines());
    update();
}

void MainWindow::optionsShowDots()
{
    globalIldaFrames.setShowDots(!globalIldaFrames.getShowDots());
    m_showDotsAction->setChecked(globalIldaFrames.getShowDots());
    QSettings().setValue(KeyShowDots, globalIldaFrames.getShowDots());
    update();
}

void MainWindow::showInfoWindow()
{
    if (m_infoWindow.isMinimized())
        m_infoWindow.showNormal();
    else
        m_infoWindow.show();
    m_infoWindow.raise();
    m_infoWindow.activateWindow();
}

void MainWindow::optionsShowInformation()
{
    if (!m_showInformationAction)
        return;
    if (m_showInformationAction->isChecked())
        showInfoWindow();
    else
        m_infoWindow.close();
}

void MainWindow::openInfoWindow()
{
    if (!m_showInformationAction)
        return;
    m_showInformationAction->setChecked(true);
    showInfoWindow();
}

void MainWindow::infoWindowClosed()
{
    if (m_showInformationAction)
        m_showInformationAction->setChecked(false);
}

QString MainWindow::compilerText()
{
#if defined(__clang__)
#if defined(__apple_build_version__)
    return QStringLiteral("Clang %1.%2 (Apple)").arg(__clang_major__).arg(__clang_minor__);
#else
    return QStringLiteral("Clang %1.%2").arg(__clang_major__).arg(__clang_minor__);
#endif
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2").arg(__GNUC__).arg(__GNUC_MINOR__);
#elif defined(_MSC_VER)
    return QStringLiteral("MSVC %1.%2").arg(_MSC_VER / 100).arg(_MSC_VER % 100);
#else
    return QStringLiteral("an unknown compiler");
#endif
}

QString MainWindow::aboutText()
{
    return tr("<h3>Lumenar</h3>"
              "<p>Based on Qt %1 (%2, %3 bit)</p>"
              "<p>A viewer for laser-show frame files: ILDA shows and Vectrion Pyx pictures, "
              "catalogues and animations, frame by frame, from the front, the side, the top "
              "and in perspective.</p>")
        .arg(QString::fromLatin1(qVersion()), compilerText(), QString::number(QSysInfo::WordSize));
}

void MainWindow::helpAbout()
{
    QMessageBox box(this);
    box.setWindowTitle(tr("About Lumenar"));
    box.setText(aboutText());
    box.setIconPixmap(QPixmap(QStringLiteral(":/res/Lumenar.png")));
    box.exec();
}
