#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/ControllerIo.h"
#include "readers/PyxEncoding.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int HeaderSize = 16;
constexpr int SectionHeaderSize = 22;
constexpr int PictureHeaderSize = 46;
constexpr int NameLength = 16;
constexpr uchar TrueColorFlag = 0x08;
// Older catalogues have no colour records, whatever the flag says.
constexpr int FirstTrueColorVersion = 22;

} // namespace

QString IldaFrames::openVectrionCCAT(const QString& fileName, InfoWindow& info)
{
    QFile file(fileName);
    const QString unopened = openForReading(file);
    if (!unopened.isEmpty())
        return unopened;

    const QString unknownFormat = QObject::tr("Unknown file format!");
    uchar header[HeaderSize];
    if (!ControllerIo::readHeader(file, header, HeaderSize))
        return unknownFormat;
    const int version = qFromBigEndian<quint16>(header);
    const int sections = qFromBigEndian<quint16>(header + 4);
    const qint32 extension = qFromBigEndian<qint32>(header + 12);
    if (!ControllerIo::skip(file, extension))
        return unknownFormat;

    for (int s = 0; s < sections; ++s) {
        uchar section[SectionHeaderSize];
        if (!ControllerIo::read(file, section, SectionHeaderSize))
            return unknownFormat;
        const int pictures = qFromBigEndian<quint16>(section + 16);
        for (int p = 0; p < pictures; ++p) {
            if (!keepLoading(file.pos()))
                return cancelledText();
            uchar picture[PictureHeaderSize];
            if (!ControllerIo::read(file, picture, PictureHeaderSize))
                return unknownFormat;
            const QString name = PyxEncoding::fromPyx(picture, NameLength, QLatin1Char('?'));
            const bool trueColor =
                version >= FirstTrueColorVersion && (picture[19] & TrueColorFlag) != 0;
            const int count = qFromBigEndian<quint16>(picture + 38);
            if (!chargeFrame(count))
                return noMemoryText();
            if (!ControllerIo::read(file, m_picPoints, qint64(count) * 8))
                return unknownFormat;
            if (trueColor && !ControllerIo::read(file, m_picColors, qint64(count) * 4))
                return unknownFormat;
            appendVectrionPIC(count, trueColor);
            info.AppendInfo(ControllerIo::pictureFormatText(trueColor), name, QString(),
                            ushort(count), QString());
        }
    }
    return QString();
}
