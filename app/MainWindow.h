// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Inspection.h"
#include "app/LoadProgress.h"
#include "app/RecentFiles.h"
#include "info/InfoWindow.h"

#include <QMainWindow>
#include <QSlider>
#include <QWheelEvent>

class LaserControl;
class QAction;
class QActionGroup;
class QLabel;
class Player;
class ExportDialogs;
class RecentFiles;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // A slider that leaves the wheel to the window, which steps frames with it.
    class MySlider : public QSlider
    {
    public:
        using QSlider::QSlider;

    protected:
        void wheelEvent(QWheelEvent* event) override { event->ignore(); }
    };

    explicit MainWindow(const QString& fileName);
    ~MainWindow() override;

    Player* getPlayer() const { return m_player; }
    LaserControl* getLaser() const { return m_laser; }

public slots:
    void openFile(const QString& fileName, Inspection::Load how = Inspection::Open);

private slots:
    void fileOpen();
    void fileOpenRecent();
    void fileExportPicture();
    void fileExportAnimation();
    void viewZoomIn();
    void viewZoomOut();
    void viewReset();
    void viewFront();
    void viewSide();
    void viewTop();
    void viewPerspective();
    void viewAll();
    void frameSelectedStatusSlider(int value);
    void frameSelectedInfoWindow(int row);
    void frameFirst();
    void framePrevious();
    void frameNext();
    void frameLast();
    void optionsShowBlankedLines();
    void optionsShowDots();
    void optionsShowInformation();
    void helpAbout();
    void openInfoWindow();
    void infoWindowClosed();
    void toggleFullScreen();
    void quitFullScreen();
    void activeViewChanged();
    void playFrame(int frame);
    void playbackStateChanged();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void readSettings();
    // The arrow keys: pan the active view, or rotate Perspective.
    void viewMove(float dx, float dy);
    void writeSettings() const;
    void createActions();
    void createMenus();
    void createAdditionalShortcuts();
    void createStatusBar();
    void updateFrameActions() const;
    void updateStatusSlider();
    void updateStatusLabel();
    void updateViews();
    // Makes a view the active one: the menu follows and the layout is rebuilt.
    void chooseView(unsigned int index);
    void setFileName(const QString& fileName);
    void updateFileOpenRecentActions() const { m_recentFiles->updateActions(); }
    // The one update chain of every frame change, a new file's included: actions, slider,
    // counter, row, the player, repaint.
    void frameChanged(bool fromSlider, bool fromInfoWindow);
    // What the views show now, as a layout index of FramePainter.
    int exportLayout() const;

    QAction* m_openAction = nullptr;
    QAction* m_exportPictureAction = nullptr;
    QAction* m_exportAnimationAction = nullptr;
    RecentFiles* m_recentFiles = nullptr;
    ExportDialogs* m_exports = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_zoomInAction = nullptr;
    QAction* m_zoomOutAction = nullptr;
    QAction* m_resetAction = nullptr;
    QAction* m_viewFrontAction = nullptr;
    QAction* m_viewSideAction = nullptr;
    QAction* m_viewTopAction = nullptr;
    QAction* m_viewPerspectiveAction = nullptr;
    QAction* m_viewAllAction = nullptr;
    QAction* m_frameFirstAction = nullptr;
    QAction* m_framePreviousAction = nullptr;
    QAction* m_frameNextAction = nullptr;
    QAction* m_frameLastAction = nullptr;
    QAction* m_showBlankedLinesAction = nullptr;
    QAction* m_showDotsAction = nullptr;
    QAction* m_showInformationAction = nullptr;
    QAction* m_aboutAction = nullptr;
    MySlider* m_statusSlider = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_rateLabel = nullptr;
    Player* m_player = nullptr;
    Inspection* m_inspection = nullptr;
    LaserControl* m_laser = nullptr;
    bool m_viewAll = true;
    InfoWindow m_infoWindow;
    // A load lets events through: an open request that arrives meanwhile is ignored.
    bool m_loading = false;
    // Closing cancels a load in progress.
    bool m_closing = false;
    LoadProgress::Clock m_loadClock; // empty: the real clock

    friend class TestMainWindow;
    friend class TestHardening;
    friend class TestPlayback;
    friend class TestInspection;
};
