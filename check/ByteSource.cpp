// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/ByteSource.h"

#include <QIODevice>

#include <cstring>

ByteSource::ByteSource(QIODevice& device) : m_device(device), m_buffer(Capacity, '\0')
{
    m_base = device.pos();
}

bool ByteSource::atEnd()
{
    return m_at == m_length && !refill(1);
}

bool ByteSource::refill(int wanted)
{
    // Keep the unread bytes and top the buffer up behind them.
    const int left = m_length - m_at;
    if (m_at > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_at, size_t(left));
        m_base += m_at;
        m_at = 0;
        m_length = left;
    }
    while (m_length < wanted && !m_failed) {
        const qint64 got = m_device.read(m_buffer.data() + m_length, Capacity - m_length);
        if (got < 0)
            m_failed = true;
        if (got <= 0)
            break;
        m_length += int(got);
    }
    return m_length >= wanted;
}

const uchar* ByteSource::take(int count)
{
    if (m_length - m_at < count && !refill(count)) {
        m_at = m_length;
        return nullptr;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(m_buffer.constData()) + m_at;
    m_at += count;
    return bytes;
}

qint64 ByteSource::skip(qint64 count)
{
    const qint64 buffered = qMin<qint64>(count, m_length - m_at);
    m_at += int(buffered);
    if (buffered == count)
        return count;
    // Past the buffer: move the device instead of reading what nobody looks at.
    const qint64 from = pos();
    const qint64 wanted = count - buffered;
    const qint64 available =
        m_device.isSequential() ? wanted : qMax<qint64>(0, m_device.size() - from);
    const qint64 skipped = m_device.skip(qMin(wanted, available));
    m_base = from + qMax<qint64>(0, skipped);
    m_at = m_length = 0;
    return buffered + qMax<qint64>(0, skipped);
}
