#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

// Builds controller show files byte by byte, big-endian, so that a test shows what it feeds in.
class PyxBuilder
{
public:
    // Plain fields.
    PyxBuilder& u8(int value)
    {
        m_bytes.append(char(value));
        return *this;
    }
    PyxBuilder& u16(int value)
    {
        uchar b[2];
        qToBigEndian<quint16>(quint16(value), b);
        m_bytes.append(reinterpret_cast<const char*>(b), 2);
        return *this;
    }
    PyxBuilder& u32(quint32 value)
    {
        uchar b[4];
        qToBigEndian<quint32>(value, b);
        m_bytes.append(reinterpret_cast<const char*>(b), 4);
        return *this;
    }
    PyxBuilder& s32(qint32 value) { return u32(quint32(value)); }
    PyxBuilder& bytes(const QByteArray& raw)
    {
        m_bytes.append(raw);
        return *this;
    }
    PyxBuilder& zeros(int count) { return bytes(QByteArray(count, '\0')); }

    // Picture file: header, then chunk headers with their bodies, then the point records.
    PyxBuilder& picHeader(int version, int points, quint32 extensionLength)
    {
        return u16(version).zeros(4).u16(points).zeros(2).u32(extensionLength);
    }
    PyxBuilder& chunk(quint32 type, quint32 length) { return u32(type).u32(length); }
    // Colour record: hue in 240ths of a turn, saturation, value.
    PyxBuilder& color(int hue, int saturation, int value)
    {
        return u8(0).u8(hue).u8(saturation).u8(value);
    }
    // Point record: status (bits 0-5 palette index, bit 6 blanked), x, y, stored z.
    PyxBuilder& point(int status, int x, int y, int z)
    {
        return u8(0).u8(status).u16(x).u16(y).u16(z);
    }

    // Catalogue file: header, header extension, then sections of picture headers and records.
    PyxBuilder& ccatHeader(int version, int sections, qint32 extensionLength)
    {
        return u16(version).zeros(2).u16(sections).zeros(6).s32(extensionLength);
    }
    PyxBuilder& section(int pictures) { return zeros(16).u16(pictures).zeros(4); }
    // name: raw controller bytes, padded with zeros to 16 (or cut to 16).
    PyxBuilder& pictureHeader(const QByteArray& name, int flags, int points)
    {
        QByteArray field = name.left(16);
        field.append(QByteArray(16 - field.size(), '\0'));
        return bytes(field).zeros(3).u8(flags).zeros(18).u16(points).zeros(6);
    }

    // Animation file: counts in their three forms and length-prefixed strings.
    PyxBuilder& count(int value) // the shortest form
    {
        if (value >= 0 && value <= 253)
            return u8(value);
        if (value >= 0 && value <= 0xFFFF)
            return u8(0xFE).u16(value);
        return u8(0xFF).s32(value);
    }
    PyxBuilder& count16(int value) { return u8(0xFE).u16(value); }
    PyxBuilder& count32(qint32 value) { return u8(0xFF).s32(value); }
    PyxBuilder& string(const QByteArray& raw) { return count(raw.size()).bytes(raw); }
    // An animation header with version 0, an empty header text, and entryCount following.
    PyxBuilder& aniHeader(int entryCount)
    {
        return count(1).count(0).string("").zeros(6).count(entryCount);
    }
    PyxBuilder& entry(const QByteArray& catalogue, const QByteArray& picture)
    {
        return string(catalogue).string(picture);
    }

    const QByteArray& data() const { return m_bytes; }
    int size() const { return m_bytes.size(); }

    // Writes the bytes, or the first `length` of them, creating missing directories.
    bool write(const QString& path, int length = -1) const
    {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return false;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const QByteArray out = length < 0 ? m_bytes : m_bytes.left(length);
        return file.write(out) == out.size();
    }

private:
    QByteArray m_bytes;
};
