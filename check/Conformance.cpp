// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/Conformance.h"

#include "check/ControllerCheck.h"
#include "check/IldaCheck.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/IldaFormat.h"

#include <QFile>

#include <memory>

namespace Conformance {

QString controllerKind(const QString& fileName)
{
    return IldaFormat::controllerSuffix(fileName);
}

QString loadPrivately(const QString& fileName, const CheckProgress& progress)
{
    // About a megabyte of buffers: not for the stack.
    const auto frames = std::make_unique<IldaFrames>();
    InfoWindow info;
    return frames->loadFile(fileName, info, progress);
}

void check(const QString& fileName, const FindingSink& sink, QStringList* pictures,
           const CheckProgress& progress, const Load& load)
{
    // The viewer's own opening: a pipe or a device would block or never end. A file that
    // cannot be opened is the same finding whatever its kind.
    QFile file(fileName);
    const QString failure = IldaFrames::openForReading(file);
    if (!failure.isEmpty()) {
        sink({QStringLiteral("cannot-open"), Finding::Error, 0, 0, failure});
        return;
    }
    const QString kind = controllerKind(fileName);
    if (kind.isEmpty()) {
        IldaCheck::run(file, sink, progress);
        return;
    }
    file.close();

    // The reader's own message says what is wrong; the walk says where.
    // A controller file's frames are its pictures or entries, in order.
    const FindingSink framed = [&sink](Finding finding) {
        finding.frame = finding.section;
        sink(finding);
    };
    const ControllerCheck::Result walk = ControllerCheck::run(fileName, kind, framed);
    if (pictures)
        *pictures = walk.pictures;
    const QString message = load ? load(fileName) : loadPrivately(fileName, progress);
    if (!message.isEmpty())
        framed({QStringLiteral("unreadable"), Finding::Error, qMax<qint64>(0, walk.stoppedAt),
                walk.picture, message});
}

QStringList inputsOf(const QString& fileName, int frames)
{
    QStringList inputs{fileName};
    const QString kind = controllerKind(fileName);
    if (kind == QLatin1String("ani"))
        inputs << ControllerCheck::run(
                      fileName, kind, [](const Finding&) {}, frames)
                      .pictures;
    return inputs;
}

} // namespace Conformance
