// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("OutputFile", text);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

namespace OutputFile {

QString refusal(const QString& output, const QStringList& inputs, bool replace)
{
    const QString shown = QDir::toNativeSeparators(output);
    struct stat target;
    if (::lstat(QFile::encodeName(output).constData(), &target) != 0)
        return errno == ENOENT ? QString() : tr("%1: %2").arg(shown, systemReason(errno));
    if (S_ISLNK(target.st_mode))
        return tr("%1 is a symbolic link; outputs are never written through one").arg(shown);
    if (!S_ISREG(target.st_mode))
        return tr("%1 is not a regular file; only regular files are replaced").arg(shown);
    for (const QString& input : inputs) {
        struct stat source;
        if (::stat(QFile::encodeName(input).constData(), &source) == 0 &&
            source.st_dev == target.st_dev && source.st_ino == target.st_ino)
            return tr("%1 is an input; inputs are never written to").arg(shown);
    }
    if (!replace)
        return tr("%1 exists (--force replaces it)").arg(shown);
    return QString();
}

QString commit(QSaveFile& file)
{
    if (file.error() != QFileDevice::NoError || !file.flush() || !file.commit())
        return file.errorString();
    return QString();
}

QString write(QSaveFile& file, const QByteArray& bytes)
{
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    return commit(file);
}

QString readReason(const QString& path)
{
    // Non-blocking, so that a FIFO cannot hang the question.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return systemReason(errno);
    ::close(fd);
    return QString();
}

} // namespace OutputFile
