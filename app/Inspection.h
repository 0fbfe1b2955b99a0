// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IldaFrames.h"

#include <QObject>
#include <QString>

class InfoWindow;
class Player;
class ProblemsWindow;
class QAction;
class QLabel;
class QMainWindow;
class QSettings;
class ReloadWatcher;

// The window as an inspection tool: the Problems window, the readable frames of a damaged file,
// reload (by command and when the file changes on disk), the next and previous file, zoom to
// fit, the axes and the facts of the current frame in the status bar. Owns its actions, which
// the window puts into its menus, and loads files the three ways the window asks for.
class Inspection : public QObject
{
    Q_OBJECT

public:
    enum Load { Open, Readable, Reload };

    // The actions are parented to the window; the status bar's labels go into its status bar.
    Inspection(QMainWindow* window, Player* player);
    ~Inspection() override;

    QAction* getReadableAction() const { return m_readableAction; }
    QAction* getReloadAction() const { return m_reloadAction; }
    QAction* getNextFileAction() const { return m_nextFileAction; }
    QAction* getPreviousFileAction() const { return m_previousFileAction; }
    QAction* getProblemsAction() const { return m_problemsAction; }
    QAction* getZoomToFitAction() const { return m_zoomToFitAction; }
    QAction* getShowAxesAction() const { return m_showAxesAction; }
    ProblemsWindow* getProblemsWindow() const { return m_problems; }
    ReloadWatcher* getWatcher() const { return m_watcher; }

    void readSettings(const QSettings& settings);
    void writeSettings(QSettings& settings) const;

    // Loads fileName into the store: Open as ever (a failure shows its box), Readable keeps the
    // whole frames of a damaged file, Reload reads the open file again without a box and
    // replaces the store only when the file reads without fault. False when the store is as it
    // was (a reload that failed or was cancelled before reading).
    bool load(const QString& fileName, Load how, InfoWindow& info,
              const IldaFrames::Progress& progress);
    // The file the store holds (wholly or, when damaged, in part), empty when none.
    QString getLoadedFile() const { return m_loaded; }
    // The title's name of the loaded file: "NAME" or "NAME (damaged)".
    QString getTitleName() const;
    bool isDamaged() const { return m_damaged; }
    // The frame the window shows has changed: the status bar follows.
    void frameShown();

signals:
    // The window is asked to load a file the given way (through its own load path).
    void loadRequested(const QString& fileName, Inspection::Load how);
    // A finding in the Problems window leads to this frame.
    void frameRequested(int frame);

private:
    void showProblems();
    void checkProblems();
    void reloadWhenFree();
    void stepFile(int step);
    void zoomToFit();
    void showAxes(bool on);
    void updateActions();
    // The status bar's word on the last load; more goes into its tooltip.
    void setNotice(const QString& text, const QString& more = QString());
    void showStatus();
    void watch();

    QMainWindow* m_window;
    Player* m_player;
    QAction* m_readableAction;
    QAction* m_reloadAction;
    QAction* m_nextFileAction;
    QAction* m_previousFileAction;
    QAction* m_problemsAction;
    QAction* m_zoomToFitAction;
    QAction* m_showAxesAction;
    ProblemsWindow* m_problems;
    ReloadWatcher* m_watcher;
    // The status bar's word on the last load (with more for its tooltip) above the frame's facts.
    QLabel* m_statusLabel;
    QString m_notice;
    QString m_noticeMore;
    QString m_facts;
    // The file last opened or tried (what reload, next file and Problems act on), and the one
    // the store holds.
    QString m_file;
    QString m_loaded;
    bool m_failed = false;  // the last load of m_file failed: its readable frames may be had
    bool m_damaged = false; // the store holds the readable frames of m_file
    bool m_problemsStale = true;

    friend class TestInspection;
};
