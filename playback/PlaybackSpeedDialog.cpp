// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/PlaybackSpeedDialog.h"

#include "playback/Player.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

PlaybackSpeedDialog::PlaybackSpeedDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Playback Speed"));
    m_fpsButton = new QRadioButton(tr("&Frames per second:"));
    m_ppsButton = new QRadioButton(tr("&Points per second:"));
    m_fpsBox = new QSpinBox;
    m_fpsBox->setRange(Player::MinFps, Player::MaxFps);
    m_ppsBox = new QSpinBox;
    m_ppsBox->setRange(Player::MinPps, Player::MaxPps);
    m_ppsBox->setSingleStep(1000);
    m_ppsBox->setGroupSeparatorShown(true);
    // Each box is usable only in its own mode.
    connect(m_fpsButton, &QRadioButton::toggled, m_fpsBox, &QWidget::setEnabled);
    connect(m_ppsButton, &QRadioButton::toggled, m_ppsBox, &QWidget::setEnabled);

    auto* grid = new QGridLayout;
    grid->addWidget(m_fpsButton, 0, 0);
    grid->addWidget(m_fpsBox, 0, 1);
    grid->addWidget(m_ppsButton, 1, 0);
    grid->addWidget(m_ppsBox, 1, 1);
    auto* note = new QLabel(tr("At a scan rate, each frame shows as long as a projector needs "
                               "to draw its points."));
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setRate(false, Player::DefaultFps, Player::DefaultPps);
}

PlaybackSpeedDialog::~PlaybackSpeedDialog() = default;

void PlaybackSpeedDialog::setRate(bool pointsPerSecond, int fps, int pps)
{
    m_fpsButton->setChecked(!pointsPerSecond);
    m_ppsButton->setChecked(pointsPerSecond);
    m_fpsBox->setEnabled(!pointsPerSecond);
    m_ppsBox->setEnabled(pointsPerSecond);
    m_fpsBox->setValue(fps);
    m_ppsBox->setValue(pps);
}

bool PlaybackSpeedDialog::isPointsPerSecond() const
{
    return m_ppsButton->isChecked();
}

int PlaybackSpeedDialog::getFps() const
{
    return m_fpsBox->value();
}

int PlaybackSpeedDialog::getPps() const
{
    return m_ppsBox->value();
}
