#include "support/PdfProbe.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace PdfProbe {

namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace

QString missingTools()
{
    for (const QString &tool : {u"pdftotext"_s, u"pdfimages"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool + u" is missing: run scripts/setup-deps (poppler-utils)."_s;
    }
    return {};
}

QString text(const QString &pdf)
{
    return QString::fromUtf8(run(u"pdftotext"_s, {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s}));
}

QStringList pages(const QString &pdf)
{
    QStringList list = text(pdf).split(u'\f');
    // pdftotext ends the last page with a form feed too.
    if (!list.isEmpty() && list.last().trimmed().isEmpty())
        list.removeLast();
    return list;
}

QList<Image> images(const QString &pdf)
{
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    QList<Image> list;
    const QStringList lines = QString::fromUtf8(run(u"pdfimages"_s, {u"-list"_s, pdf})).split(u'\n');
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(u' ');
        if (f.size() < 14)
            continue;
        Image image;
        image.page = f[0].toInt();
        image.width = f[3].toInt();
        image.height = f[4].toInt();
        image.object = f[10].toInt();
        image.xPpi = f[12].toDouble();
        image.yPpi = f[13].toDouble();
        list.append(image);
    }
    return list;
}

} // namespace PdfProbe
