// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/Finding.h"

#include <QStringList>

// Walks the controller's .pic, .ccat and .ani files the way their readers do, without decoding
// anything, to tell where a reader stops and which pictures lose points.
namespace ControllerCheck {

struct Result
{
    qint64 stoppedAt = -1; // where reading stopped, -1 when the walk reached its end
    int picture = 0;       // the picture being read there, or the number of pictures
    QStringList pictures;  // for an animation, the picture files it names
};

// kind is "pic", "ccat" or "ani"; reports points-dropped warnings to sink. An animation's walk
// stops after `entries` entries when that is not negative.
Result run(const QString& fileName, const QString& kind, const FindingSink& sink, int entries = -1);

} // namespace ControllerCheck
