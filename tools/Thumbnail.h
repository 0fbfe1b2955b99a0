// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QTextStream;

// lumenar-inspect --thumbnail, as file managers run it: frame 0 alone, drawn in the front view
// without label or border, read and drawn in bounded time and memory.
namespace Thumbnail {

// What a preview may hold and read: frame 0 needs well under a megabyte.
constexpr long long MemoryBudget = 8LL << 20;
constexpr long long MaxRead = 16LL << 20;

// Writes the side x side PNG of file's frame 0 to output. Returns an Inspector exit status.
int write(int side, const QString& file, const QString& output, QTextStream& err);

} // namespace Thumbnail
