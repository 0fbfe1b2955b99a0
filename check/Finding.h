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
};

using FindingSink = std::function<void(const Finding&)>;
