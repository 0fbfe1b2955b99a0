#include "check/Conformance.h"

#include "check/ControllerCheck.h"
#include "check/IldaCheck.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/IldaFormat.h"

#include <QFile>

namespace Conformance {

QString controllerKind(const QString& fileName)
{
    return IldaFormat::controllerSuffix(fileName);
}

void check(const QString& fileName, const FindingSink& sink, QStringList* pictures)
{
    const QString kind = controllerKind(fileName);
    if (kind.isEmpty()) {
        // The viewer's own opening: a pipe or a device would block or never end.
        QFile file(fileName);
        const QString failure = IldaFrames::openForReading(file);
        if (!failure.isEmpty())
            sink({QStringLiteral("cannot-open"), Finding::Error, 0, 0, failure});
        else
            IldaCheck::run(file, sink);
        return;
    }

    // The reader's own message says what is wrong; the walk says where.
    const ControllerCheck::Result walk = ControllerCheck::run(fileName, kind, sink);
    if (pictures)
        *pictures = walk.pictures;
    InfoWindow info;
    const QString message = globalIldaFrames.loadFile(fileName, info);
    if (!message.isEmpty())
        sink({QStringLiteral("unreadable"), Finding::Error, qMax<qint64>(0, walk.stoppedAt),
              walk.picture, message});
}

} // namespace Conformance
