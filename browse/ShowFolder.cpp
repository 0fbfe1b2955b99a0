// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/ShowFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ShowFolder {
namespace {

// One run of digits or of other characters, starting at i; i moves past it.
QStringRef run(const QString& s, int& i)
{
    const int start = i;
    const bool digits = s.at(i).isDigit();
    while (i < s.size() && s.at(i).isDigit() == digits)
        ++i;
    return s.midRef(start, i - start);
}

int compareNumbers(QStringRef a, QStringRef b)
{
    // Leading zeros say nothing about the value; then the longer number is the larger.
    while (a.size() > 1 && a.at(0) == QLatin1Char('0'))
        a = a.mid(1);
    while (b.size() > 1 && b.at(0) == QLatin1Char('0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

bool isShowFile(const QString& name)
{
    for (const char* suffix : {".ild", ".ilda", ".pic", ".ccat", ".ani"})
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

bool naturalLess(const QString& a, const QString& b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        const bool numbers = a.at(i).isDigit() && b.at(j).isDigit();
        const QStringRef ra = run(a, i);
        const QStringRef rb = run(b, j);
        const int order = numbers ? compareNumbers(ra, rb) : ra.compare(rb, Qt::CaseInsensitive);
        if (order != 0)
            return order < 0;
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size(); // the shorter name first
    return a.compare(b) < 0; // "Show1" and "show01" still need an order
}

QStringList list(const QString& directory)
{
    QStringList names = QDir(directory).entryList(QDir::Files);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& name) { return !isShowFile(name); }),
                names.end());
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

QString step(const QString& filePath, int step)
{
    const QFileInfo info(filePath);
    const QStringList names = list(info.absolutePath());
    if (names.isEmpty())
        return QString();
    const int count = names.size();
    const int at = int(std::lower_bound(names.begin(), names.end(), info.fileName(), naturalLess) -
                       names.begin());
    const bool present = at < count && names.at(at) == info.fileName();
    // A missing file sits between at - 1 and at: the next is at itself.
    const int from = present || step < 0 ? at : at - 1;
    const int index = ((from + step) % count + count) % count;
    return info.absoluteDir().filePath(names.at(index));
}

} // namespace ShowFolder
