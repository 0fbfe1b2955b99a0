// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/ControllerCheck.h"

#include "model/IldaFrame.h"
#include "model/IldaFrames.h"
#include "readers/ControllerIo.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QtEndian>

using namespace ControllerIo;

namespace {

constexpr int AniHeaderBytes = 6;

QString droppedText(int count)
{
    return QObject::tr("%1 points; those after the first %2 are not shown")
        .arg(count)
        .arg(IldaFrame::MaxPoints);
}

// A picture file: where its point records start and how many there are; start -1 where the
// walk stopped, at stoppedAt.
struct Picture
{
    qint64 pointsAt = -1;
    int count = 0;
    qint64 stoppedAt = 0;
};

Picture walkPic(const QString& fileName)
{
    Picture picture;
    QFile file(fileName);
    uchar header[PicHeaderSize];
    if (!IldaFrames::openForReading(file).isEmpty() || !readHeader(file, header, PicHeaderSize))
        return picture;
    const int count = qFromBigEndian<quint16>(header + 6);
    quint32 left = qFromBigEndian<quint32>(header + 10);
    while (left != 0) {
        picture.stoppedAt = file.pos();
        if (left < ChunkHeaderSize) {
            if (!skip(file, left))
                return picture;
            break;
        }
        uchar chunk[ChunkHeaderSize];
        if (!read(file, chunk, ChunkHeaderSize))
            return picture;
        left -= ChunkHeaderSize;
        const quint32 length = qFromBigEndian<quint32>(chunk + 4);
        if (length > left || !skip(file, length))
            return picture;
        left -= length;
    }
    picture.stoppedAt = file.pos();
    if (!skip(file, qint64(count) * PointRecordSize))
        return picture;
    picture.pointsAt = picture.stoppedAt;
    picture.count = count;
    return picture;
}

ControllerCheck::Result walkCcat(const QString& fileName, const FindingSink& sink)
{
    ControllerCheck::Result walk;
    walk.stoppedAt = 0;
    QFile file(fileName);
    uchar header[CcatHeaderSize];
    if (!IldaFrames::openForReading(file).isEmpty() || !readHeader(file, header, CcatHeaderSize))
        return walk;
    const int version = qFromBigEndian<quint16>(header);
    const int sections = qFromBigEndian<quint16>(header + 4);
    walk.stoppedAt = file.pos();
    if (!skip(file, qFromBigEndian<qint32>(header + 12)))
        return walk;
    for (int s = 0; s < sections; ++s) {
        walk.stoppedAt = file.pos();
        uchar section[SectionHeaderSize];
        if (!read(file, section, SectionHeaderSize))
            return walk;
        const int pictures = qFromBigEndian<quint16>(section + 16);
        for (int p = 0; p < pictures; ++p, ++walk.picture) {
            walk.stoppedAt = file.pos();
            uchar picture[PictureHeaderSize];
            if (!read(file, picture, PictureHeaderSize))
                return walk;
            const bool trueColor =
                version >= FirstTrueColorVersion && (picture[19] & TrueColorFlag);
            const int count = qFromBigEndian<quint16>(picture + 38);
            const qint64 pointsAt = file.pos();
            walk.stoppedAt = pointsAt;
            if (!skip(file, qint64(count) * PointRecordSize))
                return walk;
            walk.stoppedAt = file.pos();
            if (trueColor && !skip(file, qint64(count) * ColorRecordSize))
                return walk;
            if (count > IldaFrame::MaxPoints)
                sink({QStringLiteral("points-dropped"), Finding::Warning,
                      pointsAt - PictureHeaderSize, walk.picture, droppedText(count)});
        }
    }
    walk.stoppedAt = -1;
    return walk;
}

ControllerCheck::Result walkAni(const QString& fileName, const FindingSink& sink, int limit)
{
    ControllerCheck::Result walk;
    walk.stoppedAt = 0;
    QFile file(fileName);
    if (!IldaFrames::openForReading(file).isEmpty())
        return walk;
    int value = 0;
    QString text;
    if (!globalIldaFrames.readCount(file, value))
        return walk;
    walk.stoppedAt = file.pos();
    if (!globalIldaFrames.readCount(file, value) || value != 0)
        return walk;
    walk.stoppedAt = file.pos();
    int entries = 0;
    if (!globalIldaFrames.readString(file, text) || !skip(file, AniHeaderBytes) ||
        !globalIldaFrames.readCount(file, entries))
        return walk;
    const bool cut = limit >= 0 && limit < entries;
    if (cut)
        entries = limit;
    const QString directory = QFileInfo(fileName).canonicalPath();
    // As in the reader: an entry is looked up by its names first, so that a picture named a
    // million times costs one file-system call, and by the file's identity second, so that it
    // is walked once whatever it is called.
    struct Named
    {
        QString path;
        Picture picture;
    };
    QHash<QString, Named> byName;
    QHash<QString, Picture> byIdentity;
    for (; walk.picture < entries; ++walk.picture) {
        walk.stoppedAt = file.pos();
        QString catalogue;
        QString name;
        if (!globalIldaFrames.readString(file, catalogue) ||
            !globalIldaFrames.readString(file, name))
            return walk;
        const QString names = catalogue + QChar(0) + name;
        auto known = byName.constFind(names);
        if (known == byName.constEnd()) {
            const QString path = ControllerIo::picturePath(directory, catalogue, name);
            const QString key = fileIdentity(path);
            const auto same = byIdentity.constFind(key);
            const bool fresh = key.isEmpty() || same == byIdentity.constEnd();
            const Picture picture = fresh ? walkPic(path) : *same;
            if (!key.isEmpty() && fresh) {
                byIdentity.insert(key, picture);
                walk.pictures << QFileInfo(path).canonicalFilePath();
            } else if (key.isEmpty()) {
                walk.pictures << path; // missing: the walk ends here
            }
            known = byName.insert(names, {path, picture});
        }
        const Picture& picture = known->picture;
        if (picture.pointsAt < 0)
            return walk;
        if (picture.count > IldaFrame::MaxPoints)
            sink({QStringLiteral("points-dropped"), Finding::Warning, walk.stoppedAt, walk.picture,
                  QObject::tr("%1: %2").arg(known->path, droppedText(picture.count))});
    }
    walk.stoppedAt = file.pos();
    if (cut || !globalIldaFrames.readCount(file, value) || !skip(file, value))
        return walk;
    walk.stoppedAt = -1;
    return walk;
}

} // namespace

namespace ControllerCheck {

Result run(const QString& fileName, const QString& kind, const FindingSink& sink, int entries)
{
    if (kind == QLatin1String("ccat"))
        return walkCcat(fileName, sink);
    if (kind == QLatin1String("ani"))
        return walkAni(fileName, sink, entries);
    Result walk;
    const Picture picture = walkPic(fileName);
    walk.stoppedAt = picture.pointsAt < 0 ? picture.stoppedAt : -1;
    if (picture.count > IldaFrame::MaxPoints)
        sink(
            {QStringLiteral("points-dropped"), Finding::Warning, 0, 0, droppedText(picture.count)});
    walk.picture = picture.pointsAt < 0 ? 0 : 1;
    return walk;
}

} // namespace ControllerCheck
