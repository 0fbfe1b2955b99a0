#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/ControllerIo.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardItemModel>

namespace {

constexpr int HeaderBytes = 6;

// A picture that this animation has already loaded once.
struct LoadedPicture
{
    int frame;
    QString format;
    ushort records;
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
    // shares the frame loaded the first time instead of reading the file anew, so a small
    // hostile animation cannot fill the memory.
    QHash<QString, LoadedPicture> loaded;
    for (int e = 0; e < entries; ++e) {
        QString catalogue;
        QString picture;
        if (!readString(file, catalogue) || !readString(file, picture))
            return unknownFormat;
        const QString path = directory + QLatin1Char('/') + catalogue + QLatin1String(".catl/") +
                             picture + QLatin1String(".pic");

        const QString key = QFileInfo(path).canonicalFilePath();
        const auto known = loaded.constFind(key);
        if (!key.isEmpty() && known != loaded.constEnd()) {
            m_frames.append(m_frames.at(known->frame));
            info.AppendInfo(known->format, ControllerIo::pictureRowName(path), QString(),
                            known->records, QString());
            continue;
        }

        const QString message = openVectrionPIC(path, info);
        if (!message.isEmpty())
            return message;
        if (!key.isEmpty()) {
            // Keep the row that the picture reader has just appended, to repeat it.
            const QStandardItemModel* rows = info.model();
            const int row = rows->rowCount() - 1;
            loaded.insert(key, {int(m_frames.size()) - 1, rows->item(row, 0)->text(),
                                rows->item(row, 3)->text().toUShort()});
        }
    }

    int trailer = 0;
    if (!readCount(file, trailer) || !skipBytes(file, trailer))
        return unknownFormat;
    return QString();
}
