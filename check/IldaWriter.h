#pragma once

#include <QtGlobal>

class IldaFrame;
class QByteArray;
class QIODevice;
class QString;

// Writes frames as a standard ILDA file: true colour (format 4, or 5 when every z is 0), frame
// numbers from 0, the total in every header, the last-point bit on each frame's last point and
// an end header.
class IldaWriter
{
public:
    IldaWriter(QIODevice& device, int totalFrames);

    // A frame without points becomes one blanked point at the origin, so that it still counts.
    bool writeFrame(const IldaFrame& frame, const QString& name, const QString& company);
    bool finish();

    // An 8-byte text field: Latin-1, "?" for any other character, cut to 8 bytes, zero-padded.
    static QByteArray textField(const QString& text);

    static constexpr int MaxFrames = 65535; // the header's frame fields are 16 bits wide

private:
    bool writeHeader(quint32 format, const QString& name, const QString& company, int records);

    QIODevice& m_device;
    int m_total;
    int m_written = 0;
};
