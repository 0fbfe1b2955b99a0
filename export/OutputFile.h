// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QSaveFile;

// What every writer of a new file obeys: an output never replaces an input (compared by device
// and inode, so through links too), is never written through a symbolic link, and replaces only
// a regular file; a write is done only when all of it reached the disk.
namespace OutputFile {

// Empty when output may be written; else the user's message. An existing file is replaced only
// when replace is true.
QString refusal(const QString& output, const QStringList& inputs, bool replace);

// Flushes and commits file; empty on success, else the system's reason ("No space left on
// device"). The last buffered bytes fail only in the flush, which commit() does not report.
QString commit(QSaveFile& file);

// Writes all of bytes to file and commits it, or gives the system's reason.
QString write(QSaveFile& file, const QByteArray& bytes);

// Why path cannot be read, in the system's words, or an empty string when it can be opened.
QString readReason(const QString& path);

} // namespace OutputFile
