#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

// Placeholders until the controller readers land.
QString IldaFrames::openVectrionPIC(const QString&, InfoWindow&)
{
    return QObject::tr("Unknown file format!");
}

QString IldaFrames::openVectrionCCAT(const QString&, InfoWindow&)
{
    return QObject::tr("Unknown file format!");
}

QString IldaFrames::openVectrionANI(const QString&, InfoWindow&)
{
    return QObject::tr("Unknown file format!");
}
