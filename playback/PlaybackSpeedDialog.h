// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QRadioButton;
class QSpinBox;

// Options > Playback Speed: a frame rate, or a projector's scan rate in points per second.
class PlaybackSpeedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PlaybackSpeedDialog(QWidget* parent = nullptr);
    ~PlaybackSpeedDialog() override;

    void setRate(bool pointsPerSecond, int fps, int pps);
    bool isPointsPerSecond() const;
    int getFps() const;
    int getPps() const;

private:
    QRadioButton* m_fpsButton;
    QRadioButton* m_ppsButton;
    QSpinBox* m_fpsBox;
    QSpinBox* m_ppsBox;
};
