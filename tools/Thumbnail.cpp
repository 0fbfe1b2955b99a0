#include "tools/Thumbnail.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"
#include "tools/Render.h"
#include "views/IldaView.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>

namespace Thumbnail {

int write(int side, const QString& file, const QString& output, QTextStream& err)
{
    const QFileInfo target(output);
    // A symbolic link would be written through, and the input must survive whatever the caller
    // names (an ILDA file may have any name, .png too).
    if (target.isSymLink() ||
        (target.exists() && target.canonicalFilePath() == QFileInfo(file).canonicalFilePath())) {
        err << "lumenar-inspect: " << output << " is a link or the input; not written\n";
        return Inspector::LoadFailed;
    }

    InfoWindow info;
    const QString error = globalIldaFrames.loadFirstFrame(file, info, MemoryBudget, MaxRead);
    if (!error.isEmpty() || globalIldaFrames.getNumberOfFrames() == 0) {
        err << "lumenar-inspect: " << file << ": "
            << (globalIldaFrames.wasCancelled()
                    ? QStringLiteral("no frame within the first %1 bytes").arg(MaxRead)
                : error.isEmpty() ? QStringLiteral("no frame to show")
                                  : error)
            << "\n";
        return Inspector::LoadFailed;
    }
    globalIldaFrames.gotoFirst();
    globalIldaFrames.setShowBlankedLines(false);
    globalIldaFrames.setShowDots(true);
    IldaView::Reset(true);
    IldaView::m_decorated = false;
    const QImage image = Render::renderFrame(Render::Front, QSize(side, side));
    IldaView::m_decorated = true;

    QSaveFile save(output);
    if (!save.open(QIODevice::WriteOnly) || !image.save(&save, "PNG") || !save.commit()) {
        err << "lumenar-inspect: cannot write " << output << "\n";
        return Inspector::LoadFailed;
    }
    return Inspector::Success;
}

} // namespace Thumbnail
