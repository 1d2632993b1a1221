#include "DocumentSaving.h"

#include "ToolWorkspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/AtomicFile.h"
#include "storage/DocumentLock.h"
#include "storage/FieldCoding.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "storage/TpkXML.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool isStorable(const DocumentMember &m)
{
    return !m.path.isEmpty() && TVfsPAK::nameProblem(m.name).isEmpty();
}

// Fills the working archive with the members that name a file; the writers take the attachments
// their questions name from there.
bool gatherMembers(const QList<DocumentMember> &members, const QString &memberFolder, TVfsPAK &work,
                   QString &problem)
{
    if (!DeleteAllMembers(work)) {
        problem = work.errorString();
        return false;
    }
    for (const DocumentMember &m : members) {
        if (!isStorable(m))
            continue;
        if (!PutFile(QDir(memberFolder).absoluteFilePath(m.path), m.name, work)) {
            problem = work.errorString();
            return false;
        }
    }
    return true;
}

bool writeSettings(const DocumentSnapshot &d, const QString &path, QRandomGenerator &rng, QString &problem)
{
    TpkXML xml;
    xml.options.unicodeOutput = false;
    for (const SettingValue &v : d.settings)
        WriteSettingString(v.key, v.value, xml, rng);
    return AtomicFile::write(path, xml.SaveToBytes(), &problem);
}

bool write(ToolWorkspace &tool, const DocumentSnapshot &d, const QString &path, const QString &memberFolder,
           QString &problem)
{
    Workspace &ws = tool.ws();
    switch (d.kind) {
    case DocumentKind::Test:
        ws.test = d.test;
        return gatherMembers(d.members, memberFolder, *ws.workingTest, problem) &&
               WriteTestDocument(ws, path);
    case DocumentKind::Question:
        ws.question = d.question;
        ws.question.imageSource.clear();
        ws.question.textSource.clear();
        return gatherMembers(d.members, memberFolder, *ws.workingQuestion, problem) &&
               WriteQuestionDocument(ws, path, *ws.workingQuestion);
    case DocumentKind::TestList:
        return WriteTestList(ws, path, d.listInfo, d.entries);
    case DocumentKind::SetList:
        return WriteSetList(ws, path, d.listInfo, d.entries);
    case DocumentKind::StudentList:
        return WriteStudentList(ws, path, d.students);
    case DocumentKind::EditorSettings:
    case DocumentKind::TestModuleSettings:
    case DocumentKind::LearningModuleSettings:
        return writeSettings(d, path, ws.rng, problem);
    }
    return false;
}

} // namespace

bool saveDocument(ToolWorkspace &tool, const DocumentSnapshot &document, const QString &path,
                  const QString &memberFolder, QString *problem)
{
    const auto fail = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    // Every member file is looked at before anything is written.
    for (qsizetype i = 0; i < document.members.size(); ++i) {
        const DocumentMember &m = document.members[i];
        if (!isStorable(m))
            continue;
        const QFileInfo file(QDir(memberFolder).absoluteFilePath(m.path));
        if (!file.isFile() || !file.isReadable())
            return fail(u"members[%1].path: %2: no such file."_s.arg(i).arg(file.filePath()));
    }

    // One writer: a document another program holds open is not written over.
    DocumentLock lock;
    if (lock.lock(path) == DocumentLock::Result::InUse)
        return fail(DocumentLock::inUseReason());

    QString own;
    tool.startCollecting();
    const bool written = write(tool, document, path, memberFolder, own);
    const ToolWorkspace::Reports reports = tool.takeReports();
    if (written)
        return true;
    QStringList why;
    if (!reports.isEmpty())
        why << reports.oneLine();
    if (!own.isEmpty())
        why << own;
    return fail(why.isEmpty() ? u"cannot be written."_s : why.join(u"; "_s));
}
