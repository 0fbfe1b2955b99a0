#pragma once

// Builds ILDA files byte by byte, so that each test shows exactly what it feeds the reader.

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
        m_bytes.append("ILDA", 4);
        u32(format);
        field(name);
        field(company);
        u16(records);
        u16(frameNumber);
        u16(totalFrames);
        u8(projector);
        u8(0);
        return *this;
    }
    IldaBuilder& end() { return header(0, "", "", 0); }

    // Format 0: X, Y, Z, status, colour index.
    IldaBuilder& point0(int x, int y, int z, int status, int index)
    {
        u16(x);
        u16(y);
        u16(z);
        u8(status);
        u8(index);
        return *this;
    }
    // Format 1: X, Y, status, colour index.
    IldaBuilder& point1(int x, int y, int status, int index)
    {
        u16(x);
        u16(y);
        u8(status);
        u8(index);
        return *this;
    }
    // Format 2: red, green, blue.
    IldaBuilder& colour(int r, int g, int b)
    {
        u8(r);
        u8(g);
        u8(b);
        return *this;
    }
    // Format 4: X, Y, Z, status, blue, green, red (the file stores blue first).
    IldaBuilder& point4(int x, int y, int z, int status, int r, int g, int b)
    {
        u16(x);
        u16(y);
        u16(z);
        u8(status);
        u8(b);
        u8(g);
        u8(r);
        return *this;
    }
    // Format 5: X, Y, status, blue, green, red.
    IldaBuilder& point5(int x, int y, int status, int r, int g, int b)
    {
        u16(x);
        u16(y);
        u8(status);
        u8(b);
        u8(g);
        u8(r);
        return *this;
    }
    IldaBuilder& raw(const QByteArray& bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }

    int size() const { return m_bytes.size(); }
    QByteArray bytes() const { return m_bytes; }

    IldaBuilder& u8(int v)
    {
        m_bytes.append(char(v & 0xFF));
        return *this;
    }
    IldaBuilder& u16(int v)
    {
        u8(v >> 8);
        return u8(v);
    }
    IldaBuilder& u32(quint32 v)
    {
        u16(int(v >> 16));
        return u16(int(v & 0xFFFF));
    }

private:
    void field(const QByteArray& text)
    {
        QByteArray padded = text.left(8);
        padded.append(QByteArray(8 - padded.size(), '\0'));
        m_bytes.append(padded);
    }

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
