// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IldaFrame.h"

#include <QString>
#include <QtGlobal>

// Facts of the ILDA format and of file names, shared by the readers, the check and the writer.
namespace IldaFormat {

constexpr quint32 Signature = 0x494C4441; // "ILDA", big-endian
constexpr int HeaderSize = 32;
constexpr int HeaderRest = HeaderSize - 4; // header bytes after the signature
// Records a frame keeps; the rest of a longer section is skipped.
constexpr int MaxRecords = IldaFrame::MaxPoints;

// Bytes of one record of formats 0 to 5; 0 for any other, format 3 included.
constexpr int recordSize(quint32 format)
{
    constexpr int sizes[] = {8, 6, 3, 0, 10, 8};
    return format < 6 ? sizes[format] : 0;
}

// Which reader a file name picks: only the suffix decides, in any letter case; the content is
// never sniffed.
enum class Reader { Ilda, Pic, Ccat, Ani };
Reader readerFor(const QString& fileName);
// "pic", "ccat" or "ani" for a controller file, empty for an ILDA file.
QString controllerSuffix(const QString& fileName);

} // namespace IldaFormat
