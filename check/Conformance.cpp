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
        IldaCheck::run(file, sink);
        return;
    }
    file.close();

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

QStringList inputsOf(const QString& fileName)
{
    QStringList inputs{fileName};
    const QString kind = controllerKind(fileName);
    if (kind == QLatin1String("ani"))
        inputs << ControllerCheck::run(fileName, kind, [](const Finding&) {}).pictures;
    return inputs;
}

} // namespace Conformance
