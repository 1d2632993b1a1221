#include "core/Workspace.h"

#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

Workspace::Workspace()
{
    test.resetTest();
}

Workspace::~Workspace() = default;

void Workspace::setUpFoldersAndPaths(const QString &appDataRootOverride)
{
    QString root = appDataRootOverride;
    if (root.isEmpty())
        root = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    while (root.size() > 1 && root.endsWith(u'/'))
        root.chop(1);
    paths.appDataRoot = root;

    // One level at a time; a failure is left for the later file operations to report.
    QString folder = root;
    for (const QString &level : {u"Tevrix"_s, u"Zadanix"_s, u"Edycja"_s, u"Temp"_s}) {
        folder += u'/' + level;
        if (!QDir(folder).exists())
            QDir().mkdir(folder);
    }

    log.setFilterLevel(2);
    rng.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()) ^ static_cast<quint32>(QCoreApplication::applicationPid()));
    paths.runNumber = static_cast<int>(rng.bounded(900)) + 100;

    paths.editorFolder = root + u"/Tevrix/Zadanix/Edycja"_s;
    paths.tempFolder = paths.editorFolder + u"/Temp"_s;
    paths.iniPath = paths.editorFolder + u"/Edycja.ini"_s;
    paths.tempTestPath = paths.tempFolder + u"/Test"_s + QString::number(paths.runNumber) + u".tmp"_s;
    paths.tempQuestionPath = paths.tempFolder + u"/Pyt"_s + QString::number(paths.runNumber) + u".tmp"_s;
    paths.tempQuestionAsPath = paths.tempFolder + u"/PytJako.tmp"_s;
    paths.logPath = paths.editorFolder + u"/Dziennik.txt"_s;
    log.setPath(paths.logPath);

    logEvent(3, u"Utworzono foldery i ustawiono ścieżki."_s);
}

void Workspace::setProgramFolder(const QString &folder)
{
    QString f = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    if (!f.endsWith(u'/'))
        f += u'/';
    paths.programFolder = f;
}

void Workspace::createWorkingArchives()
{
    workingTest = NewArchive();
    CreateArchive(paths.tempTestPath, *workingTest);
    workingQuestionAs = NewArchive();
    CreateArchive(paths.tempQuestionAsPath, *workingQuestionAs);
    workingQuestion = NewArchive();
    CreateArchive(paths.tempQuestionPath, *workingQuestion);
}

void Workspace::shutDown()
{
    FreeArchive(workingTest);
    FreeArchive(workingQuestion);
    FreeArchive(workingQuestionAs);
    for (const QString &path : {paths.tempTestPath, paths.tempQuestionPath, paths.tempQuestionAsPath}) {
        if (!path.isEmpty() && QFile::exists(path))
            QFile::remove(path);
    }
}

void Workspace::setLogLevel(int level)
{
    log.setFilterLevel(level);
    settings.dfpz = level;
    if (UpdateEditorSetting(*this, u"dfpz"_s, level))
        logEvent(3, u"Zmieniono poziom zdarzen. Aktualny poziom, to: "_s + QString::number(level));
    else
        logEvent(0, u"Problem z zapisem zmiany ustawień do ini."_s);
}
