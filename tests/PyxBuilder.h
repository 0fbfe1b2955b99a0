// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// Builds controller show files field by field, big-endian, so that a test shows what it feeds in.
class PyxBuilder
{
public:
    PyxBuilder& u8(int value) { return bytes(QByteArray(1, char(value))); }
    PyxBuilder& u16(int value) { return u8(value >> 8).u8(value); }
    PyxBuilder& u32(quint32 value) { return u16(int(value >> 16)).u16(int(value & 0xFFFF)); }
    PyxBuilder& bytes(const QByteArray& raw) { return m_bytes.append(raw), *this; }
    PyxBuilder& zeros(int count) { return bytes(QByteArray(count, '\0')); }

    // Picture: header, chunks in the extension area, point records.
    PyxBuilder& picHeader(int version, int points, quint32 extension)
    {
        return u16(version).zeros(4).u16(points).zeros(2).u32(extension);
    }
    PyxBuilder& chunk(quint32 type, quint32 length) { return u32(type).u32(length); }
    // Hue in 240ths of a turn.
    PyxBuilder& color(int hue, int sat, int value) { return u8(0).u8(hue).u8(sat).u8(value); }
    // Status: bits 0-5 palette index, bit 6 blanked. z is stored with the opposite sign.
    PyxBuilder& point(int status, int x, int y, int z)
    {
        return u8(0).u8(status).u16(x).u16(y).u16(z);
    }

    // Catalogue: header, header extension, then per section its picture headers and records.
    PyxBuilder& ccatHeader(int version, int sections, qint32 extension)
    {
        return u16(version).zeros(2).u16(sections).zeros(6).u32(quint32(extension));
    }
    PyxBuilder& section(int pictures) { return zeros(16).u16(pictures).zeros(4); }
    // The name field holds 16 raw controller bytes, zero-padded.
    PyxBuilder& pictureHeader(const QByteArray& name, int flags, int points)
    {
        return bytes(name.leftJustified(16, '\0', true))
            .zeros(3)
            .u8(flags)
            .zeros(18)
            .u16(points)
            .zeros(6);
    }

    // Animation: counts in their three forms, length-prefixed strings.
    PyxBuilder& count(int value)
    {
        return value >= 0 && value <= 253      ? u8(value)
               : value >= 0 && value <= 0xFFFF ? count16(value)
                                               : count32(value);
    }
    PyxBuilder& count16(int value) { return u8(0xFE).u16(value); }
    PyxBuilder& count32(qint32 value) { return u8(0xFF).u32(quint32(value)); }
    PyxBuilder& string(const QByteArray& raw) { return count(raw.size()).bytes(raw); }
    // Header value 1, version 0, empty header text, six header bytes, then the entry count.
    PyxBuilder& aniHeader(int entries)
    {
        return count(1).count(0).string("").zeros(6).count(entries);
    }
    PyxBuilder& entry(const QByteArray& catalogue, const QByteArray& picture)
    {
        return string(catalogue).string(picture);
    }

    const QByteArray& data() const { return m_bytes; }
    int size() const { return m_bytes.size(); }

    // Writes all bytes, or the first `length`, creating missing directories.
    bool write(const QString& path, int length = -1) const
    {
        const QByteArray out = length < 0 ? m_bytes : m_bytes.left(length);
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).absolutePath()) &&
               file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(out) == out.size();
    }

private:
    QByteArray m_bytes;
};
