// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFile;

// Helpers shared by the three controller readers and the conformance check.
namespace ControllerIo {

// Record layouts of the controller's files.
constexpr int PicHeaderSize = 14;
constexpr int ChunkHeaderSize = 8;
constexpr int PointRecordSize = 8;
constexpr int ColorRecordSize = 4;
constexpr int CcatHeaderSize = 16;
constexpr int SectionHeaderSize = 22;
constexpr int PictureHeaderSize = 46;
constexpr unsigned char TrueColorFlag = 0x08; // in byte 19 of a catalogue's picture header
// Older catalogues have no colour records, whatever the flag says.
constexpr int FirstTrueColorVersion = 22;

// Both succeed only when every byte is there; a count below 1 touches nothing. The counts are
// 64-bit because chunk lengths in picture files are unsigned 32-bit.
bool skip(QFile& file, qint64 count);
bool read(QFile& file, void* buffer, qint64 count);

// Reads a file header whose first field is the 16-bit format version; false when the header is
// short or older than version 4, the first the readers know.
bool readHeader(QFile& file, unsigned char* header, int size);

// The information row of one picture.
QString pictureFormatText(bool trueColor);
QString pictureRowName(const QString& fileName);

// Where an animation's entry finds its picture: CATALOGUE.catl/PICTURE.pic beside the animation.
QString picturePath(const QString& directory, const QString& catalogue, const QString& picture);

// The file behind a path: an animation's entries name the same picture when these match, so
// hard links and differently spelt names of one file are one picture. Empty when it is missing.
QString fileIdentity(const QString& path);

} // namespace ControllerIo
