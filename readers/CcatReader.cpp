// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/ControllerIo.h"
#include "readers/PyxEncoding.h"

#include <QFile>
#include <QtEndian>

using namespace ControllerIo;

namespace {

constexpr int NameLength = 16;

} // namespace

QString IldaFrames::openVectrionCCAT(const QString& fileName, InfoWindow& info)
{
    QFile file(fileName);
    const QString unopened = openForReading(file);
    if (!unopened.isEmpty())
        return unopened;

    const QString unknownFormat = QObject::tr("Unknown file format!");
    uchar header[CcatHeaderSize];
    if (!ControllerIo::readHeader(file, header, CcatHeaderSize))
        return unknownFormat;
    const int version = qFromBigEndian<quint16>(header);
    const int sections = qFromBigEndian<quint16>(header + 4);
    const qint32 extension = qFromBigEndian<qint32>(header + 12);
    if (!ControllerIo::skip(file, extension))
        return unknownFormat;

    for (int s = 0; s < sections; ++s) {
        m_sectionStart = file.pos();
        uchar section[SectionHeaderSize];
        if (!ControllerIo::read(file, section, SectionHeaderSize))
            return unknownFormat;
        const int pictures = qFromBigEndian<quint16>(section + 16);
        for (int p = 0; p < pictures; ++p) {
            if (!keepLoading(file.pos()))
                return cancelledText();
            m_sectionStart = file.pos();
            uchar picture[PictureHeaderSize];
            if (!ControllerIo::read(file, picture, PictureHeaderSize))
                return unknownFormat;
            const QString name = PyxEncoding::fromPyx(picture, NameLength, QLatin1Char('?'));
            const bool trueColor =
                version >= FirstTrueColorVersion && (picture[19] & TrueColorFlag) != 0;
            const int count = qFromBigEndian<quint16>(picture + 38);
            if (!m_budget.chargeFrame(count))
                return LoadBudget::exceededText();
            if (!ControllerIo::read(file, m_picPoints, qint64(count) * PointRecordSize))
                return unknownFormat;
            if (trueColor &&
                !ControllerIo::read(file, m_picColors, qint64(count) * ColorRecordSize))
                return unknownFormat;
            appendVectrionPIC(count, trueColor);
            info.AppendInfo(ControllerIo::pictureFormatText(trueColor), name, QString(),
                            ushort(count), QString());
        }
    }
    return QString();
}
