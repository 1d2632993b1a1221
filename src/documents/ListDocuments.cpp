#include "documents/ListDocuments.h"

#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/DocumentValues.h"
#include "storage/FieldCoding.h"
#include "storage/PendingArchive.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"
#include "core/StudentList.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;
using namespace DocumentValues;

namespace {

struct EntryListKind {
    QString v40Member;
    QString v35Member;
    QString element;
    QString v35Failed;
    QString v40Failed;
    QString unreadable;          // the file cannot be opened
    bool missingXmlIsUnreadable; // a missing XML member counts as an unreadable file
    bool showsBox;               // read failures of the member are also shown
    bool countRequired;          // a missing or damaged "ilw" fails the read
    QString writeFailed;
};

const EntryListKind &testListKind()
{
    static const EntryListKind kind{
        u"Selt0.xml"_s,
        u"Selt0.txp"_s,
        u"lst"_s,
        u"Odczyt listy testów. Ver 35. Błąd odczytu."_s,
        u"Odczyt listy testów. Ver 40. Błąd odczytu."_s,
        u"Odczyt listy testów. Błąd wczytania spakowanej zawartości."_s,
        true,
        true,
        false,
        u"Zapis listy testów. Błąd zapisu."_s,
    };
    return kind;
}

const EntryListKind &setListKind()
{
    static const EntryListKind kind{
        u"Selz0.xml"_s,
        u"Selz0.txp"_s,
        u"lsz"_s,
        u"Odczyt listy zestawów. Ver 35. Błąd odczytu."_s,
        u"Odczyt listy zestawów. Ver 40. Błąd odczytu."_s,
        u"Odczyt. Problemy z wczytaniem pliku listy zestawów pytań."_s,
        false,
        false,
        true,
        u"Zapis listy zestawów. Błąd zapisu."_s,
    };
    return kind;
}

const QString kStudentXml = u"Selu0.xml"_s;
const QString kStudentOld = u"Selu0.txp"_s;
const QString kNoCount = u"Lista jest uszkodzona. Brak informacji o ilości wpisów."_s;

// A count read from a file, capped by the numbered elements that exist.
// `logged`, when given, lets a read log the cap once however many parts of it are capped: each entry
// rewrites the log, so a damaged list of many classes must not cost one entry per class.
int acceptedCount(Workspace &ws, int claimed, int reach, bool *logged = nullptr)
{
    if (claimed > reach) {
        if (!logged || !std::exchange(*logged, true))
            ws.logEvent(0, u"Odczyt listy. Lista podaje więcej wpisów, niż zawiera; wczytano "_s +
                               QString::number(reach) + u"."_s);
        return reach;
    }
    return std::max(claimed, 0);
}

std::optional<QString> decodedLine(const QList<QByteArray> &lines, qsizetype i)
{
    if (i < 0 || i >= lines.size())
        return std::nullopt;
    const std::optional<QByteArray> bytes = DecodeSetting(lines[i]);
    return bytes ? std::optional<QString>(Cp1250::toUnicode(*bytes)) : std::nullopt;
}

TpkXMLNode *childOf(TpkXMLNode *parent, QStringView name)
{
    return parent ? parent->ChildByName(name, 0, -1, false) : nullptr;
}

bool readEntryList(Workspace &ws, const EntryListKind &kind, const QString &path, ListInfo &info,
                   QStringList &entries)
{
    info = ListInfo{{}, u"0"_s, {}};
    std::unique_ptr<TVfsPAK> file = NewArchive();
    if (!openForReading(path, *file)) {
        ws.logEvent(0, kind.unreadable);
        return false;
    }
    const auto memberFailed = [&ws, &kind](const QString &entry) {
        ws.logEvent(0, entry);
        if (kind.showsBox)
            ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                           u"Błąd odczytu listy.\rPrawdopodobnie lista jest uszkodzona."_s);
        return false;
    };

    if (HasMember(kind.v35Member, *file)) {
        try {
            const std::optional<QByteArray> data = ExtractStream(kind.v35Member, *file);
            if (!data)
                return memberFailed(kind.v35Failed);
            const QList<QByteArray> lines = splitLines(*data);
            entries.clear();
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const std::optional<QString> line = decodedLine(lines, i);
                if (!line)
                    return memberFailed(kind.v35Failed);
                entries.append(*line);
            }
        } catch (const std::exception &) {
            return memberFailed(kind.v35Failed);
        }
        return true;
    }

    const std::optional<QByteArray> data = ExtractStream(kind.v40Member, *file);
    if (!data) {
        if (kind.missingXmlIsUnreadable) {
            ws.logEvent(0, kind.unreadable);
            return false;
        }
        return memberFailed(kind.v40Failed);
    }
    bool failed = false;
    try {
        TpkXML doc;
        // A damaged document keeps what was parsed; what is missing reads as empty or 0.
        doc.LoadFromBytes(*data);
        const bool coded = IsDocumentCoded(doc, kind.element);
        const ChildIndex top(doc.DocumentChild(kind.element));
        bool countRead = false;
        int count = integer(coded, top.find(u"ilw"), &countRead);
        if (kind.countRequired && !countRead) {
            ws.logEvent(0, kNoCount);
            count = 0;
            failed = true;
        }
        info.author = text(coded, top.find(u"name"));
        info.date = text(coded, top.find(u"dtu"));
        info.remarks = text(coded, top.find(u"uwg"));
        entries.clear();
        count = acceptedCount(ws, count, top.numberedReach(u"dx"));
        entries.reserve(count);
        for (int i = 0; i < count; ++i)
            entries.append(text(coded, top.find(u"dx"_s + QString::number(i))));
    } catch (const std::exception &) {
        return memberFailed(kind.v40Failed);
    }
    return !failed;
}

bool readStudents35(Workspace &ws, TVfsPAK &file, StudentList &list)
{
    const std::optional<QByteArray> data = ExtractStream(kStudentOld, file);
    if (!data)
        return false;
    const QList<QByteArray> names = splitLines(*data);
    // Each class member is read once, however often the index names it: repeated index lines would
    // otherwise multiply the students of one small member without bound.
    QSet<int> readMembers;
    bool repeatLogged = false;
    // Names are looked up ignoring case, as the archive does, but through one index, so that many
    // index lines over many members stay linear.
    QHash<QString, int> memberIndex;
    const QStringList &members = file.Names();
    for (qsizetype m = members.size(); m-- > 0;) // the first of equal names wins
        memberIndex[members[m].toCaseFolded()] = static_cast<int>(m);
    for (qsizetype i = 2; i < names.size(); ++i) {
        const std::optional<QString> name = decodedLine(names, i);
        if (!name)
            return false;
        const int index = memberIndex.value(QString(*name + u".txp"_s).toCaseFolded(), -1);
        if (index < 0)
            return false;
        if (readMembers.contains(index)) {
            if (!std::exchange(repeatLogged, true))
                ws.logEvent(0, u"Odczyt szkoły ver. 35. Indeks klas powtarza klasę "_s + *name +
                                   u"; wczytano ją raz."_s);
            continue;
        }
        readMembers.insert(index);
        const std::optional<QByteArray> classData = file.extractAt(index);
        if (!classData)
            return false;
        const QList<QByteArray> lines = splitLines(*classData);
        const std::optional<QString> className = decodedLine(lines, 0);
        const std::optional<QString> folder = decodedLine(lines, 2);
        const std::optional<QString> time = decodedLine(lines, 3);
        bool timeRead = false;
        const int minutes = time ? time->toInt(&timeRead) : 0;
        if (!className || !folder || !timeRead)
            return false;
        SchoolClass c; // version 35 knows no grading scale: off, with the standard thresholds
        c.name = *className;
        c.resultsFolder = *folder;
        c.time = minutes;
        for (qsizetype s = 4; s < lines.size(); ++s) {
            const std::optional<QString> line = decodedLine(lines, s);
            if (!line)
                return false;
            // The first name first, the surname after the first blank.
            c.students.append(studentFromLine(*line, true));
        }
        list.classes.append(std::move(c));
    }
    return true;
}

bool readStudents40(Workspace &ws, TVfsPAK &file, StudentList &list)
{
    const QString notLoaded = u"Przetwarzanie listy klas. Błąd wczytania do xml."_s;
    const std::optional<QByteArray> data = ExtractStream(kStudentXml, file);
    if (!data) {
        ws.logEvent(0, notLoaded);
        return false;
    }
    TpkXML doc;
    bool coded = false;
    std::optional<ChildIndex> top;
    bool failed = false;
    try {
        // A damaged document keeps what was parsed; what is missing reads as empty or 0.
        doc.LoadFromBytes(*data);
        coded = IsDocumentCoded(doc, u"szk"_s);
        top.emplace(doc.DocumentChild(u"szk"));
        bool totalRead = false;
        integer(coded, top->find(u"ilw"), &totalRead); // the total follows from the classes
        if (!totalRead) {
            ws.logEvent(0, kNoCount);
            failed = true;
        }
    } catch (const std::exception &) {
        ws.logEvent(0, notLoaded);
        return false;
    }

    int classCount = 0;
    try {
        classCount = integer(coded, top->find(u"ilk"));
        list.author = text(coded, top->find(u"typ"));
        list.date = text(coded, top->find(u"dtu"));
        list.remarks = text(coded, top->find(u"uwg"));
    } catch (const std::exception &) {
        ws.logEvent(0, u"Przetwarzanie listy klas. Błąd dekodowania danych ogólnych."_s);
        return false;
    }

    classCount = acceptedCount(ws, classCount, top->numberedReach(u"kl"));
    list.classes.reserve(classCount);
    bool studentCapLogged = false;
    const QStringView thresholds[] = {u"cel", u"bdb", u"db", u"dst", u"dp"};
    for (int c = 0; c < classCount; ++c) {
        SchoolClass sc;
        try {
            const ChildIndex kl(top->find(u"kl"_s + QString::number(c)));
            sc.name = text(coded, kl.find(u"nm"));
            sc.resultsFolder = text(coded, kl.find(u"sc"));
            sc.time = integer(coded, kl.find(u"tim"));
            const int claimed = integer(coded, kl.find(u"ilu"));
            TpkXMLNode *skl = kl.find(u"skl");
            sc.gradingOn = integer(coded, childOf(skl, u"tk"));
            for (size_t t = 0; t < 5; ++t)
                sc.thresholds[t] = integer(coded, childOf(skl, thresholds[t]));
            const int students = acceptedCount(ws, claimed, kl.numberedReach(u"ucz"), &studentCapLogged);
            sc.students.reserve(students);
            for (int s = 0; s < students; ++s) {
                TpkXMLNode *ucz = kl.find(u"ucz"_s + QString::number(s));
                sc.students.append({text(coded, childOf(ucz, u"imu")), text(coded, childOf(ucz, u"nzu"))});
            }
        } catch (const std::exception &) {
            ws.logEvent(0, u"Kodowanie klasy. Ver 40. Błąd dekodowania klasy "_s + sc.name + u"."_s);
            return false;
        }
        list.classes.append(std::move(sc));
    }
    return !failed;
}

// The whole document in a new archive beside the target, renamed over it when complete.
bool writeListDocument(const QString &path, const QString &member, const QByteArray &xml)
{
    // Not emptied and rewritten in place, as the format once was: a failed save must keep the old file.
    PendingArchive out(path);
    return out.isOpen() && PutStream(member, xml, out.archive()) && out.commit();
}

bool writeFailed(Workspace &ws, const QString &entry)
{
    ws.logEvent(0, entry);
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                   u"Wystąpiły problemy z zapisem pliku listy.\rSprawdź plik błędów."_s);
    return false;
}

bool writeEntryList(Workspace &ws, const EntryListKind &kind, const QString &path, const ListInfo &info,
                    const QStringList &entries)
{
    bool written = false;
    try {
        TpkXML doc;
        TpkXMLNode *top = doc.DocumentChild(kind.element);
        addCoded(top, u"ilw"_s, static_cast<int>(entries.size()));
        addCoded(top, u"name"_s, info.author);
        addCoded(top, u"dtu"_s, info.date);
        addCoded(top, u"uwg"_s, info.remarks);
        for (qsizetype i = 0; i < entries.size(); ++i)
            addCoded(top, u"dx"_s + QString::number(i), entries[i]);
        addMarker(top);
        written = writeListDocument(path, kind.v40Member, doc.SaveToBytes());
    } catch (const std::exception &) {
        written = false;
    }
    return written || writeFailed(ws, kind.writeFailed);
}

} // namespace

bool ReadTestList(Workspace &ws, const QString &path, ListInfo &info, QStringList &entries)
{
    return readEntryList(ws, testListKind(), path, info, entries);
}

bool ReadSetList(Workspace &ws, const QString &path, ListInfo &info, QStringList &entries)
{
    return readEntryList(ws, setListKind(), path, info, entries);
}

bool ReadStudentList(Workspace &ws, const QString &path, StudentList &list)
{
    list.reset();
    std::unique_ptr<TVfsPAK> file = NewArchive();
    if (!openForReading(path, *file)) {
        ws.logEvent(0, u"Odczyt. Problemy z wczytaniem pliku listy uczniów."_s);
        return false;
    }
    if (HasMember(kStudentOld, *file)) {
        bool read = false;
        try {
            read = readStudents35(ws, *file, list);
        } catch (const std::exception &) {
            read = false;
        }
        if (!read)
            ws.logEvent(0, u"Odczyt szkoły ver. 35. Błąd odczytu."_s);
        return read;
    }
    return readStudents40(ws, *file, list);
}

bool WriteTestList(Workspace &ws, const QString &path, const ListInfo &info, const QStringList &entries)
{
    return writeEntryList(ws, testListKind(), path, info, entries);
}

bool WriteSetList(Workspace &ws, const QString &path, const ListInfo &info, const QStringList &entries)
{
    return writeEntryList(ws, setListKind(), path, info, entries);
}

bool WriteStudentList(Workspace &ws, const QString &path, const StudentList &list)
{
    bool written = false;
    try {
        TpkXML doc;
        TpkXMLNode *szk = doc.DocumentChild(u"szk");
        addCoded(szk, u"ilw"_s, list.totalStudents());
        addCoded(szk, u"ilk"_s, static_cast<int>(list.classes.size()));
        addCoded(szk, u"typ"_s, list.author);
        addCoded(szk, u"dtu"_s, list.date);
        addCoded(szk, u"uwg"_s, list.remarks);
        const QString thresholds[] = {u"cel"_s, u"bdb"_s, u"db"_s, u"dst"_s, u"dp"_s};
        for (qsizetype c = 0; c < list.classes.size(); ++c) {
            const SchoolClass &sc = list.classes[c];
            TpkXMLNode *kl = szk->addChild(u"kl"_s + QString::number(c));
            addCoded(kl, u"nm"_s, sc.name);
            addCoded(kl, u"sc"_s, sc.resultsFolder);
            addCoded(kl, u"tim"_s, sc.time);
            addCoded(kl, u"ilu"_s, static_cast<int>(sc.students.size()));
            TpkXMLNode *skl = kl->addChild(u"skl"_s);
            addCoded(skl, u"tk"_s, sc.gradingOn);
            for (size_t t = 0; t < 5; ++t)
                addCoded(skl, thresholds[t], sc.thresholds[t]);
            for (qsizetype s = 0; s < sc.students.size(); ++s) {
                TpkXMLNode *ucz = kl->addChild(u"ucz"_s + QString::number(s));
                addCoded(ucz, u"imu"_s, sc.students[s].firstName);
                addCoded(ucz, u"nzu"_s, sc.students[s].surname);
            }
        }
        addMarker(szk);
        written = writeListDocument(path, kStudentXml, doc.SaveToBytes());
    } catch (const std::exception &) {
        written = false;
    }
    return written || writeFailed(ws, u"Zapis listy uczniów. Błąd zapisu."_s);
}
