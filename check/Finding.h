// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// One thing a conformance check found in a file.
struct Finding
{
    enum Severity { Warning, Error };

    QString code;
    Severity severity = Warning;
    qint64 offset = 0; // the header's first byte for a section, the record's for a point
    int section = 0;   // every header counts, from 0; pictures for controller files
    QString text;
    qint64 bytes = -1; // how many bytes were skipped, for skipped-bytes only
    int frame = -1;    // the frame it is about, from 0, counted as the viewer counts them
};

using FindingSink = std::function<void(const Finding&)>;
// Called as a check goes with a figure from 0 to the file's size; false stops the check.
using CheckProgress = std::function<bool(qint64 done)>;
