#include "toolkit/HelpPages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QUrl helpPageUrl(const QString &page, const QString &folder)
{
    QString programFolder = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    if (!programFolder.endsWith(u'/'))
        programFolder += u'/';
    const QString beside = programFolder + u"Pomoc/"_s + page;
    const QString installed = programFolder + u"../share/zadanix/Pomoc/"_s + page;
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return QUrl::fromLocalFile(QFileInfo(installed).absoluteFilePath());
    return QUrl::fromLocalFile(beside);
}

bool openHelpPage(const QString &page, const QString &programFolder)
{
    return QDesktopServices::openUrl(helpPageUrl(page, programFolder));
}
