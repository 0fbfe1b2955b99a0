// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// Reads a device front to back through one fixed buffer, so that a checker's memory does not
// grow with the file, and knows the file offset of every byte it hands out.
class ByteSource
{
public:
    explicit ByteSource(QIODevice& device);

    qint64 pos() const { return m_base + m_at; }
    bool failed() const { return m_failed; }
    bool atEnd();

    // The next byte, or -1 at the end or on a read error.
    int next()
    {
        if (m_at == m_length && !refill(1))
            return -1;
        return static_cast<unsigned char>(m_buffer[m_at++]);
    }
    // The next count bytes (at most Capacity) in one piece, or nullptr when fewer are left;
    // then everything up to the end has been consumed.
    const uchar* take(int count);
    // Skips up to count bytes; returns how many were there.
    qint64 skip(qint64 count);

    static constexpr int Capacity = 1 << 20;

private:
    bool refill(int wanted);

    QIODevice& m_device;
    QByteArray m_buffer;
    qint64 m_base = 0; // file offset of m_buffer[0]
    int m_at = 0;
    int m_length = 0;
    bool m_failed = false;
};
