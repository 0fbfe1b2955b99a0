// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/Player.h"

#include "model/IldaFrames.h"
#include "playback/PlaybackSpeedDialog.h"

#include <QAction>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace {

const char KeyMode[] = "PlaybackMode";
const char KeyFps[] = "PlaybackFps";
const char KeyPps[] = "PlaybackPps";
const char KeyLoop[] = "PlaybackLoop";

constexpr qint64 Second = 1000000000;
constexpr qint64 Millisecond = 1000000;

} // namespace

Player::Player(QWidget* window) : QObject(window), m_window(window)
{
    m_elapsed.start();
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &Player::tick);

    m_playAction = new QAction(tr("&Play"), window);
    m_playAction->setShortcut(QKeySequence(tr("Space"), QKeySequence::NativeText));
    m_playAction->setCheckable(true);
    connect(m_playAction, &QAction::toggled, this, &Player::setPlaying);
    m_loopAction = new QAction(tr("&Loop"), window);
    m_loopAction->setCheckable(true);
    m_loopAction->setChecked(true);
    m_speedAction = new QAction(tr("Playback &Speed..."), window);
    connect(m_speedAction, &QAction::triggered, this, &Player::showSpeedDialog);
    fileChanged();
}

Player::~Player() = default;

qint64 Player::now() const
{
    return m_clock ? m_clock() : m_elapsed.nsecsElapsed();
}

bool Player::isPlaying() const
{
    return m_playAction->isChecked();
}

bool Player::isLooping() const
{
    return m_loopAction->isChecked();
}

void Player::setRate(Mode mode, int fps, int pps)
{
    m_mode = mode;
    m_fps = qBound(MinFps, fps, MaxFps);
    m_pps = qBound(MinPps, pps, MaxPps);
    if (isPlaying()) {
        m_due = now() + getFrameDuration(m_frame);
        schedule();
    }
    emit stateChanged();
}

qint64 Player::getFrameDuration(int frame) const
{
    if (m_mode == FramesPerSecond)
        return Second / m_fps;
    const qint64 points = globalIldaFrames.getFrame(frame).getNumberOfPoints();
    return qMax(Millisecond, points * Second / m_pps);
}

QString Player::getRateText() const
{
    return m_mode == FramesPerSecond ? tr("%1 fps").arg(m_fps) : tr("%L1 points/s").arg(m_pps);
}

void Player::readSettings(const QSettings& settings)
{
    const Mode mode = settings.value(KeyMode).toString() == QLatin1String("pps") ? PointsPerSecond
                                                                                 : FramesPerSecond;
    bool ok = false;
    int fps = settings.value(KeyFps, DefaultFps).toInt(&ok);
    if (!ok)
        fps = DefaultFps;
    int pps = settings.value(KeyPps, DefaultPps).toInt(&ok);
    if (!ok)
        pps = DefaultPps;
    setRate(mode, fps, pps);
    m_loopAction->setChecked(settings.value(KeyLoop, true).toBool());
}

void Player::writeSettings(QSettings& settings) const
{
    settings.setValue(KeyMode,
                      m_mode == PointsPerSecond ? QStringLiteral("pps") : QStringLiteral("fps"));
    settings.setValue(KeyFps, m_fps);
    settings.setValue(KeyPps, m_pps);
    settings.setValue(KeyLoop, isLooping());
}

void Player::play()
{
    m_playAction->setChecked(true);
}

void Player::stop()
{
    m_playAction->setChecked(false);
}

void Player::fileChanged()
{
    m_playAction->setEnabled(globalIldaFrames.getNumberOfFrames() >= 2);
}

void Player::setPlaying(bool playing)
{
    if (playing && globalIldaFrames.getNumberOfFrames() < 2) {
        stop();
        return;
    }
    if (!playing) {
        m_timer->stop();
        emit stateChanged();
        return;
    }
    m_frame = globalIldaFrames.getCurrentFrameNumber();
    // Played to the end without looping: Play starts over.
    if (!isLooping() && globalIldaFrames.isLast()) {
        m_frame = 0;
        emit frameDue(m_frame);
    }
    m_due = now() + getFrameDuration(m_frame);
    schedule();
    emit stateChanged();
}

void Player::frameShown(int frame)
{
    if (!isPlaying() || frame == m_frame)
        return;
    m_frame = frame;
    m_due = now() + getFrameDuration(frame);
    schedule();
}

void Player::tick()
{
    if (!isPlaying())
        return;
    const int count = globalIldaFrames.getNumberOfFrames();
    if (count < 2) {
        stop();
        return;
    }
    const qint64 t = now();
    int frame = m_frame;
    qint64 due = m_due;
    // Every frame whose time has passed is skipped; a whole lap behind starts afresh from now,
    // so a stalled clock costs one lap of work at most.
    for (int steps = 0; due <= t; ++steps) {
        if (!isLooping() && frame >= count - 1) {
            stop();
            return;
        }
        frame = (frame + 1) % count;
        due += getFrameDuration(frame);
        if (steps >= count)
            due = t + getFrameDuration(frame);
    }
    m_due = due;
    if (frame != m_frame) {
        m_frame = frame;
        emit frameDue(frame);
    }
    schedule();
}

void Player::schedule()
{
    const qint64 wait = m_due - now();
    m_timer->start(int(qBound<qint64>(0, (wait + Millisecond - 1) / Millisecond, 1 << 30)));
}

void Player::showSpeedDialog()
{
    PlaybackSpeedDialog dialog(m_window);
    dialog.setRate(m_mode == PointsPerSecond, m_fps, m_pps);
    if (dialog.exec() == QDialog::Accepted)
        setRate(dialog.isPointsPerSecond() ? PointsPerSecond : FramesPerSecond, dialog.getFps(),
                dialog.getPps());
}
