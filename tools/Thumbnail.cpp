// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Thumbnail.h"

#include "check/Conformance.h"
#include "export/OutputFile.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"
#include "tools/Render.h"
#include "views/IldaView.h"

#include <QImage>
#include <QSaveFile>
#include <QTextStream>

namespace Thumbnail {

int write(int side, const QString& file, const QString& output, QTextStream& err)
{
    // Frame 0 reads the file and at most its first picture: the check costs the same whatever
    // the size of an animation.
    const QString refusal = OutputFile::refusal(output, Conformance::inputsOf(file, 1), true);
    if (!refusal.isEmpty()) {
        err << "lumenar-inspect: " << refusal << "\n";
        return Inspector::LoadFailed;
    }

    InfoWindow info;
    const QString error = globalIldaFrames.loadFirstFrame(file, info, MemoryBudget, MaxRead);
    if (!error.isEmpty() || globalIldaFrames.getNumberOfFrames() == 0) {
        err << Inspector::loadError(
            file, globalIldaFrames.wasCancelled()
                      ? QStringLiteral("no frame within the first %1 bytes").arg(MaxRead)
                  : error.isEmpty() ? QStringLiteral("no frame to show")
                                    : error);
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
    const QString reason = !save.open(QIODevice::WriteOnly) ? save.errorString()
                           : !image.save(&save, "PNG")      ? QStringLiteral("cannot encode PNG")
                                                            : OutputFile::commit(save);
    if (!reason.isEmpty()) {
        err << "lumenar-inspect: cannot write " << output << ": " << reason << "\n";
        return Inspector::LoadFailed;
    }
    return Inspector::Success;
}

} // namespace Thumbnail
