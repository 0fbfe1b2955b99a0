// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QRgb>
#include <QtGlobal>

class IldaFrame;
class QIODevice;
class QString;

// Writes frames as a standard ILDA file in one format (0, 1, 4 or 5; by default 4, or 5 for a
// frame whose every z is 0), frame numbers from 0, the total in every header, the last-point bit
// on each frame's last point and an end header. Blanked points are written black, since many
// players ignore the blanking bit; indexed formats take the standard palette's nearest colour.
class IldaWriter
{
public:
    static constexpr int AutoFormat = -1;

    IldaWriter(QIODevice& device, int totalFrames, int format = AutoFormat);

    // A frame without points becomes one blanked point at the origin, so that it still counts.
    bool writeFrame(const IldaFrame& frame, const QString& name, const QString& company);
    // Writes the end header and everything still buffered.
    bool finish();

    // An 8-byte text field: Latin-1, "?" for any other character, cut to 8 bytes, zero-padded.
    static QByteArray textField(const QString& text);
    // The entry of the standard 64-colour palette nearest colour: least squared distance in
    // red, green and blue, the lower index on a tie.
    static int nearestIndex(QRgb colour);
    static bool isFormat(int format)
    {
        return format == 0 || format == 1 || format == 4 || format == 5;
    }

    static constexpr int MaxFrames = 65535; // the header's frame fields are 16 bits wide

private:
    void writeHeader(quint32 format, const QString& name, const QString& company, int records);
    bool drain(int keep);

    QIODevice& m_device;
    int m_total;
    int m_format;
    int m_written = 0;
    QByteArray m_buffer; // bytes not yet handed to the device
    QRgb m_lastColour = 0;
    int m_lastIndex = -1;
};
