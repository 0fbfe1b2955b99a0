// SPDX-License-Identifier: GPL-3.0-or-later
#include "readers/ControllerIo.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
constexpr int PictureNameLength = 14;
}

namespace ControllerIo {

bool skip(QFile& file, qint64 count)
{
    if (count < 1)
        return true;
    return file.skip(count) == count;
}

bool read(QFile& file, void* buffer, qint64 count)
{
    if (count < 1)
        return true;
    return file.read(static_cast<char*>(buffer), count) == count;
}

bool readHeader(QFile& file, unsigned char* header, int size)
{
    return read(file, header, size) && qFromBigEndian<quint16>(header) > 3;
}

QString pictureFormatText(bool trueColor)
{
    return trueColor ? QObject::tr("Vectrion Pyx Picture (True Color)")
                     : QObject::tr("Vectrion Pyx Picture (Indexed Color)");
}

QString pictureRowName(const QString& fileName)
{
    return QFileInfo(fileName).baseName().left(PictureNameLength);
}

QString picturePath(const QString& directory, const QString& catalogue, const QString& picture)
{
    return directory + QLatin1Char('/') + catalogue + QLatin1String(".catl/") + picture +
           QLatin1String(".pic");
}

QString fileIdentity(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(quint64(status.st_dev)).arg(quint64(status.st_ino));
#else
    return QFileInfo(path).canonicalFilePath();
#endif
}

} // namespace ControllerIo
