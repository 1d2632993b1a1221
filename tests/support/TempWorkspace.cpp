#include "support/TempWorkspace.h"

#include "storage/Cp1250.h"

#include <QFile>

using namespace Qt::StringLiterals;

TempWorkspace::TempWorkspace()
{
    ws.setUpFoldersAndPaths(dir.path());
    ws.setProgramFolder(dir.path());
    // Coded values carry random filler; a fixed seed makes every run of a test write the same bytes,
    // so a failure shows up every time, not once in a while.
    ws.rng.seed(4242);
}

QByteArray TempWorkspace::readFile(const QString &path) const
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList TempWorkspace::logTexts() const
{
    QStringList out;
    const QString all = Cp1250::toUnicode(readFile(ws.paths.logPath));
    for (const QString &line : all.split(u"\r\n"_s, Qt::SkipEmptyParts)) {
        const qsizetype cut = line.indexOf(u" - "_s);
        out << (cut < 0 ? line : line.mid(cut + 3));
    }
    return out;
}
