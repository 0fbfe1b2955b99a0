#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QFile>
#include <QMessageBox>

void IldaFrames::clear()
{
    m_currentFrame = 0;
    m_frames.clear();
}

QString IldaFrames::openForReading(QFile& file)
{
    if (file.fileName().isEmpty())
        return QObject::tr("No file specified!");
    if (!file.open(QIODevice::ReadOnly))
        return QObject::tr("Cannot open '%1'!").arg(file.fileName());
    return QString();
}

QString IldaFrames::loadFile(const QString& fileName, InfoWindow& info)
{
    clear();
    info.ClearInfo();

    // Only the name decides; the content is never sniffed.
    QString message;
    if (fileName.endsWith(QLatin1String(".pic"), Qt::CaseInsensitive))
        message = openVectrionPIC(fileName, info);
    else if (fileName.endsWith(QLatin1String(".ccat"), Qt::CaseInsensitive))
        message = openVectrionCCAT(fileName, info);
    else if (fileName.endsWith(QLatin1String(".ani"), Qt::CaseInsensitive))
        message = openVectrionANI(fileName, info);
    else
        message = openIldaFile(fileName, info);

    if (!message.isEmpty()) {
        clear();
        info.ClearInfo();
    }
    return message;
}

bool IldaFrames::openFile(const QString& fileName, InfoWindow& info, QWidget* parent)
{
    const QString message = loadFile(fileName, info);
    if (message.isEmpty())
        return true;
    QMessageBox::critical(parent, QStringLiteral("Lumenar"), message, QMessageBox::Ok,
                          QMessageBox::NoButton);
    return false;
}
