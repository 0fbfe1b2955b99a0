// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The Vectrion Pyx controller's own 8-bit character set. Byte 0 is no character: it ends a text.
class PyxEncoding
{
public:
    PyxEncoding() = delete;

    // U+0000 where the byte has no character.
    static QChar fromPyx(unsigned char byte);
    // At most length bytes, ending early at a 0 byte; a negative length runs up to the first 0.
    static QString fromPyx(const unsigned char* data, int length, const QChar& replacement);

    // 0 where the character has no byte.
    static unsigned char toPyx(const QChar& character);
    // One byte per UTF-16 code unit, then a terminating 0 that counts in the size.
    static QByteArray toPyx(const QString& text, unsigned char replacement);
};
