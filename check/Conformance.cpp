#include "check/Conformance.h"

#include "check/ControllerCheck.h"
#include "check/IldaCheck.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QFile>
#include <QObject>

namespace Conformance {

QString controllerKind(const QString& fileName)
{
    for (const char* kind : {"pic", "ccat", "ani"})
        if (fileName.endsWith(QLatin1Char('.') + QLatin1String(kind), Qt::CaseInsensitive))
            return QLatin1String(kind);
    return QString();
}

void check(const QString& fileName, const FindingSink& sink, QStringList* pictures)
{
    const QString kind = controllerKind(fileName);
    if (kind.isEmpty()) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            sink({QStringLiteral("cannot-open"), Finding::Error, 0, 0,
                  QObject::tr("Cannot open '%1'!").arg(fileName)});
        else
            IldaCheck::run(file, sink);
        return;
    }

    // The reader's own message says what is wrong; the walk says where.
    const ControllerCheck::Walk walk = ControllerCheck::run(fileName, kind, sink);
    if (pictures)
        *pictures = walk.pictures;
    InfoWindow info;
    const QString message = globalIldaFrames.loadFile(fileName, info);
    if (!message.isEmpty())
        sink({QStringLiteral("unreadable"), Finding::Error, qMax<qint64>(0, walk.stoppedAt),
              walk.picture, message});
}

} // namespace Conformance
