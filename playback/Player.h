// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QAction;
class QSettings;
class QTimer;
class QWidget;

// Plays the open show in real time. Owns the Play, Loop and Playback Speed actions and the
// timer; it never moves the store itself but asks the window to, through frameDue, so that a
// played frame runs the same update chain as Next. Frames that fall due while drawing lags
// behind are skipped, so the show keeps its pace.
class Player : public QObject
{
    Q_OBJECT

public:
    enum Mode { FramesPerSecond, PointsPerSecond };
    static constexpr int MinFps = 1;
    static constexpr int MaxFps = 120;
    static constexpr int DefaultFps = 30;
    static constexpr int MinPps = 1000;
    static constexpr int MaxPps = 100000;
    static constexpr int DefaultPps = 30000;

    // Monotonic time in nanoseconds; tests put in a clock of their own.
    using Clock = std::function<qint64()>;

    // The actions are parented to the window, whose menus show them.
    explicit Player(QWidget* window);
    ~Player() override;

    void setClock(const Clock& clock) { m_clock = clock; }

    QAction* getPlayAction() const { return m_playAction; }
    QAction* getLoopAction() const { return m_loopAction; }
    QAction* getSpeedAction() const { return m_speedAction; }

    bool isPlaying() const;
    bool isLooping() const;
    Mode getMode() const { return m_mode; }
    int getFps() const { return m_fps; }
    int getPps() const { return m_pps; }
    void setRate(Mode mode, int fps, int pps);
    // How long a frame shows at the current rate, in nanoseconds: at least a millisecond.
    qint64 getFrameDuration(int frame) const;
    // The rate as the status bar shows it.
    QString getRateText() const;

    void readSettings(const QSettings& settings);
    void writeSettings(QSettings& settings) const;

public slots:
    void play();
    void stop();
    // The store has a new file: Play needs two frames or more. The window stops playback before
    // a load.
    void fileChanged();
    // The window moved to `frame`; a move that did not come from here restarts the schedule.
    void frameShown(int frame);
    // Advances to the frame that is due now, if any, and waits for the next.
    void tick();
    void showSpeedDialog();

signals:
    void frameDue(int frame);
    // Playing started or stopped, or the rate changed.
    void stateChanged();

private:
    void setPlaying(bool playing);
    void schedule();
    qint64 now() const;

    QWidget* m_window;
    QAction* m_playAction;
    QAction* m_loopAction;
    QAction* m_speedAction;
    QTimer* m_timer;
    QElapsedTimer m_elapsed;
    Clock m_clock;
    Mode m_mode = FramesPerSecond;
    int m_fps = DefaultFps;
    int m_pps = DefaultPps;
    // The frame shown by the schedule and the time its successor is due.
    int m_frame = 0;
    qint64 m_due = 0;
};
