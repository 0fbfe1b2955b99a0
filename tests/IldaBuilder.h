// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds ILDA files byte by byte, big-endian, so that each test shows exactly what it feeds the
// reader.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class IldaBuilder
{
public:
    // A 32-byte section header: "ILDA", format, name[8], company[8], records, frame number,
    // total frames, projector, reserved.
    IldaBuilder& header(quint32 format, const QByteArray& name, const QByteArray& company,
                        int records, int frameNumber = 0, int totalFrames = 1, int projector = 0)
    {
        raw("ILDA").u32(format).raw(name.leftJustified(8, '\0', true));
        raw(company.leftJustified(8, '\0', true));
        return u16(records).u16(frameNumber).u16(totalFrames).u8(projector).u8(0);
    }
    IldaBuilder& end() { return header(0, "", "", 0); }

    // Format 0: X, Y, Z, status, colour index.
    IldaBuilder& point0(int x, int y, int z, int s, int i)
    {
        return u16(x).u16(y).u16(z).u8(s).u8(i);
    }
    // Format 1: X, Y, status, colour index.
    IldaBuilder& point1(int x, int y, int status, int index)
    {
        return u16(x).u16(y).u8(status).u8(index);
    }
    // Format 2: red, green, blue.
    IldaBuilder& colour(int r, int g, int b) { return u8(r).u8(g).u8(b); }
    // Format 4: X, Y, Z, status, then blue, green, red: the file stores blue first.
    IldaBuilder& point4(int x, int y, int z, int status, int r, int g, int b)
    {
        return u16(x).u16(y).u16(z).u8(status).u8(b).u8(g).u8(r);
    }
    // Format 5: X, Y, status, blue, green, red.
    IldaBuilder& point5(int x, int y, int s, int r, int g, int b)
    {
        return u16(x).u16(y).u8(s).u8(b).u8(g).u8(r);
    }

    IldaBuilder& raw(const QByteArray& bytes) { return m_bytes.append(bytes), *this; }
    IldaBuilder& u8(int v) { return raw(QByteArray(1, char(v & 0xFF))); }
    IldaBuilder& u16(int v) { return u8(v >> 8).u8(v); }
    IldaBuilder& u32(quint32 v) { return u16(int(v >> 16)).u16(int(v & 0xFFFF)); }

    int size() const { return m_bytes.size(); }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

inline QString writeTestFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}
