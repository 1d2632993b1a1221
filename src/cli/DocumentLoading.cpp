#include "DocumentLoading.h"

#include "ToolWorkspace.h"
#include "settings/ModuleSettings.h"
#include "storage/ArchiveAccess.h"
#include "storage/FieldCoding.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "storage/TpkXML.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

bool runReader(Workspace &ws, const QString &path, DocumentSnapshot &doc)
{
    switch (doc.kind) {
    case DocumentKind::Test: {
        const bool read = ReadTestDocument(ws, path);
        doc.test = ws.test;
        return read;
    }
    case DocumentKind::Question: {
        ws.question.resetSingleQuestion();
        ws.question.filePath = path;
        ws.question.fileName = QFileInfo(path).fileName();
        const bool read = ReadQuestionDocument(ws, path);
        doc.question = ws.question;
        return read;
    }
    case DocumentKind::TestList:
        return ReadTestList(ws, path, doc.listInfo, doc.entries);
    case DocumentKind::SetList:
        return ReadSetList(ws, path, doc.listInfo, doc.entries);
    case DocumentKind::StudentList:
        return ReadStudentList(ws, path, doc.students);
    default:
        return false;
    }
}

// Why a loaded XML document is damaged, or empty when it is sound. The readers pass over damage (what
// follows it reads as empty), including a file that ends inside its elements.
QString xmlDamage(const TpkXML &xml, bool loaded, const QString &element)
{
    if (!loaded)
        return xml.errorString().isEmpty() ? u"not XML"_s : xml.errorString();
    const TpkXMLNode &root = xml.root();
    for (int i = 0; i < root.childCount(); ++i) {
        const TpkXMLNode *node = root.child(i);
        if (node->kind != TpkXMLNode::Element || node->name.compare(element, Qt::CaseInsensitive) != 0)
            continue;
        // A self-closed element has no end tag to match.
        const bool complete = node->closed || (node->childCount() == 0 && node->rawText().isEmpty());
        return complete ? QString() : u"it ends before </%1>"_s.arg(element);
    }
    return u"it has no <%1> element"_s.arg(element);
}

// Version, attachments and the soundness of the XML member, straight from a file the reader accepted.
void inspectArchive(const QString &path, DocumentSnapshot &doc, QStringList &notes)
{
    TVfsPAK pak;
    if (!pak.Open(path, TVfsPAK::Mode::ReadOnly)) {
        notes << pak.errorString();
        return;
    }
    const QString xmlMember = documentMemberStem(doc.kind) + u".xml"_s;
    const QString oldMember = documentMemberStem(doc.kind) + u".txp"_s;
    doc.version = pak.IndexOfName(oldMember) >= 0 ? 35 : 40;
    if (doc.kind == DocumentKind::Test || doc.kind == DocumentKind::Question) {
        for (const TVfsPAK::Entry &e : pak.entries()) {
            if (e.name.compare(xmlMember, Qt::CaseInsensitive) != 0 &&
                e.name.compare(oldMember, Qt::CaseInsensitive) != 0)
                doc.members.append({e.name, e.size, {}});
        }
    }
    if (doc.version == 40) {
        const std::optional<QByteArray> bytes = pak.Extract(xmlMember);
        TpkXML xml;
        const bool loaded = bytes && xml.LoadFromBytes(*bytes);
        const QString damage = xmlDamage(xml, loaded, documentElement(doc.kind));
        if (!damage.isEmpty())
            notes << xmlMember + u" is damaged ("_s + damage +
                         u"); what follows the damage reads as empty."_s;
    }
}

// Every key of the "Ini" element in file order, the first of each name as the readers take it; a key
// that cannot be decoded reads as missing and is left out.
QList<SettingValue> settingValues(TpkXML &xml)
{
    QStringList keys;
    QSet<QString> seen;
    const TpkXMLNode *ini = xml.DocumentChild(u"Ini");
    for (int i = 0; ini && i < ini->childCount(); ++i) {
        const TpkXMLNode *node = ini->child(i);
        if (node->kind == TpkXMLNode::Element && !seen.contains(node->name.toCaseFolded())) {
            seen.insert(node->name.toCaseFolded());
            keys << node->name;
        }
    }
    QList<SettingValue> values;
    for (const QString &key : std::as_const(keys)) {
        if (const std::optional<QString> value = ReadSettingString(key, xml))
            values.append({key, *value});
    }
    return values;
}

bool readSettingsFile(Workspace &ws, const QString &path, DocumentSnapshot &doc, QStringList &notes)
{
    TpkXML xml;
    const bool parsed = xml.LoadFromFile(path);
    // Before the reads below, which add the keys they look for.
    const QString damage = xmlDamage(xml, parsed, u"Ini"_s);
    const QList<SettingValue> values = settingValues(xml);
    const std::optional<QString> header = ReadSettingString(u"ed"_s, xml);
    const std::optional<DocumentKind> kind = header ? settingsKindFromHeader(*header) : std::nullopt;

    if (header && !kind) {
        notes << u"the header \"%1\" is none of \"Edytor\", \"Tester\" and \"Nauka\"."_s.arg(*header);
        return false;
    }
    if (kind == DocumentKind::EditorSettings) {
        // What the editor demands of its own file at start-up; it replaces a file that fails.
        doc.kind = *kind;
        for (const SettingKey &k : settingKeys(*kind)) {
            if (k.type == SettingType::Flag && !ReadSettingFlag(k.key, xml)) {
                notes << u"the key \"%1\" is missing or cannot be decoded; the editor would replace the "
                         u"file with its defaults."_s.arg(k.key);
                return false;
            }
        }
        doc.settings = values;
    } else {
        // The module files and anything without a readable header: as the settings window opens them.
        TestingModuleSettings testing;
        LearningModuleSettings learning;
        const ModuleFileKind opened = OpenModuleSettingsFile(ws, path, testing, learning);
        if (opened != ModuleFileKind::Testing && opened != ModuleFileKind::Learning)
            return false;
        doc.kind = opened == ModuleFileKind::Testing ? DocumentKind::TestModuleSettings
                                                     : DocumentKind::LearningModuleSettings;
        doc.settings = values;
    }
    if (!damage.isEmpty())
        notes << u"the XML is damaged ("_s + damage + u"); what follows the damage reads as missing."_s;
    return true;
}

} // namespace

LoadedDocument loadDocument(ToolWorkspace &tool, const QString &path)
{
    LoadedDocument out;
    const QFileInfo info(path);
    if (!info.exists()) {
        out.problem = u"no such file."_s;
        return out;
    }
    if (!info.isFile()) {
        out.problem = u"not a file."_s;
        return out;
    }
    bool settingsFile = false;
    const std::optional<DocumentKind> kind = documentKindFromExtension(path, &settingsFile);
    if (!kind && !settingsFile) {
        out.problem =
            u"unknown kind of document (the tool reads .skt, .skq, .skg, .skz, .sku and .ini files)."_s;
        return out;
    }

    QStringList notes;
    tool.startCollecting();
    if (settingsFile) {
        out.read = readSettingsFile(tool.ws(), path, out.document, notes);
    } else {
        out.document.kind = *kind;
        out.read = runReader(tool.ws(), path, out.document);
        if (out.read)
            inspectArchive(path, out.document, notes);
    }
    const ToolWorkspace::Reports reports = tool.takeReports();
    if (!reports.isEmpty())
        notes.prepend(reports.oneLine());
    out.problem = notes.join(u"; "_s);
    if (!out.read && out.problem.isEmpty())
        out.problem = u"cannot be read."_s;
    return out;
}
