#include "browser/ListLine.h"

#include "core/PathHelpers.h"

namespace ListLine {

namespace {

// Writes text into line from the 1-based column start without changing the line's length.
void overwrite(QString &line, int start, const QString &text)
{
    const qsizetype from = start - 1;
    if (from < 0 || from >= line.size())
        return;
    const qsizetype count = qMin<qsizetype>(text.size(), line.size() - from);
    line.replace(from, count, text.left(count));
}

} // namespace

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString make(const QString &path, const QString &sizeText, int sizeEnd)
{
    const QString name = fileNameOf(path).left(NameColumns);
    QString line = name + QString(path.size() + 100, QLatin1Char(' '));
    const QString size = QLatin1Char(' ') + sizeText;
    overwrite(line, sizeEnd - int(size.size()) + 1, size);
    overwrite(line, PathColumn, path);
    return line;
}

QString pathOf(const QString &line)
{
    return trimBlanks(line.mid(PathColumn - 1));
}

QString fileNameOf(const QString &path)
{
    return FileNameOfPath(path);
}

} // namespace ListLine
