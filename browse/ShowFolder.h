// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The show files beside a file, in natural order, for stepping to the next or previous one.
namespace ShowFolder {

// Names ending in .ild, .ilda, .pic, .ccat or .ani, in any case.
bool isShowFile(const QString& name);
// Natural order, the same in every locale: runs of digits compare as numbers ("show2" before
// "show10"), the rest without regard to case; ties are broken so that no two names are equal.
bool naturalLess(const QString& a, const QString& b);
// The show files in directory, by name, in natural order.
QStringList list(const QString& directory);
// The path of the show file step places (+1 or -1) from filePath in its folder, wrapping at the
// ends; a file that has gone counts from where its name would be. Empty when there is none.
QString step(const QString& filePath, int step);

} // namespace ShowFolder
