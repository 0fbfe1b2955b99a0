// SPDX-License-Identifier: GPL-3.0-or-later
#include "readers/IldaFormat.h"

namespace IldaFormat {

Reader readerFor(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".pic"), Qt::CaseInsensitive))
        return Reader::Pic;
    if (fileName.endsWith(QLatin1String(".ccat"), Qt::CaseInsensitive))
        return Reader::Ccat;
    if (fileName.endsWith(QLatin1String(".ani"), Qt::CaseInsensitive))
        return Reader::Ani;
    return Reader::Ilda;
}

QString controllerSuffix(const QString& fileName)
{
    const char* const names[] = {"", "pic", "ccat", "ani"};
    return QLatin1String(names[int(readerFor(fileName))]);
}

} // namespace IldaFormat
