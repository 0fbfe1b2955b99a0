// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/ControllerIo.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

constexpr int HeaderBytes = 6;

// A picture that this animation has already loaded once: its frame and its row.
struct LoadedPicture
{
    int frame;
    InfoModel::Row row;
};

} // namespace

QString IldaFrames::openVectrionANI(const QString& fileName, InfoWindow& info)
{
    QFile file(fileName);
    const QString unopened = openForReading(file);
    if (!unopened.isEmpty())
        return unopened;

    const QString unknownFormat = QObject::tr("Unknown file format!");
    int headerValue = 0;
    int version = 0;
    if (!readCount(file, headerValue) || !readCount(file, version))
        return unknownFormat;
    if (version != 0)
        return QObject::tr("Unknown file version!");
    QString headerText;
    int entries = 0;
    if (!readString(file, headerText) || !skipBytes(file, HeaderBytes) || !readCount(file, entries))
        return unknownFormat;

    const QString directory = QFileInfo(fileName).canonicalPath();
    // An entry costs two bytes but may load tens of thousands of points: a picture named again
    // shares the frame and the row texts of its first load instead of reading the file anew.
    // Entries are looked up by their names first, which spares a file-system call per entry.
    QHash<QString, LoadedPicture> byName;
    QHash<QString, LoadedPicture> byIdentity;
    for (int e = 0; e < entries; ++e) {
        m_sectionStart = file.pos();
        if (!keepLoading(file.pos()))
            return cancelledText();
        QString catalogue;
        QString picture;
        if (!readString(file, catalogue) || !readString(file, picture))
            return unknownFormat;
        // Names cannot hold a zero character: it ends the text.
        const QString name = catalogue + QChar(0) + picture;

        auto known = byName.constFind(name);
        if (known == byName.constEnd()) {
            const QString path = ControllerIo::picturePath(directory, catalogue, picture);
            const QString identity = ControllerIo::fileIdentity(path);
            LoadedPicture loaded{0, {}};
            const auto same = byIdentity.constFind(identity);
            const bool fresh = identity.isEmpty() || same == byIdentity.constEnd();
            if (!fresh) {
                loaded = *same;
                loaded.row.name = ControllerIo::pictureRowName(path);
            } else {
                bool trueColor = false;
                int count = 0;
                m_insideAnimation = true;
                const QString message = readPicture(path, info, trueColor, count);
                m_insideAnimation = false;
                // Readable frames go on past a picture that fails, but not past the user or
                // the budget.
                if (!message.isEmpty() && m_keepReadable && !m_cancelled &&
                    message != LoadBudget::exceededText()) {
                    // The list of failures counts against the budget like the frames.
                    if (!m_budget.charge(qint64(sizeof(Skipped)) + 2 * message.size()))
                        return LoadBudget::exceededText();
                    m_skipped.append({m_sectionStart, e, message});
                    continue;
                }
                if (!message.isEmpty())
                    return message;
                if (identity.isEmpty())
                    continue; // the file went away after it was read: nothing to share
                loaded = {int(m_frames.size()) - 1,
                          {ControllerIo::pictureFormatText(trueColor),
                           ControllerIo::pictureRowName(path), QString(), QString(),
                           ushort(count)}};
                byIdentity.insert(identity, loaded);
            }
            // The lookup tables grow with every new name: they count against the budget too.
            if (!m_budget.charge(2 * (name.size() + identity.size()) +
                                 2 * qint64(sizeof(LoadedPicture))))
                return LoadBudget::exceededText();
            known = byName.insert(name, loaded);
            if (fresh)
                continue; // the picture reader has added the frame and the row
        }
        if (!m_budget.chargeFrame(0))
            return LoadBudget::exceededText();
        m_frames.append(m_frames.at(known->frame));
        info.AppendInfo(known->row);
    }

    int trailer = 0;
    if (!readCount(file, trailer) || !skipBytes(file, trailer))
        return unknownFormat;
    return QString();
}
