#include "documents/QuestionDocument.h"

#include "core/Workspace.h"
#include "documents/QuestionMessages.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/DocumentValues.h"
#include "storage/FieldCoding.h"
#include "storage/PendingArchive.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"

#include <QDate>
#include <QFileInfo>
#include <exception>
#include <optional>

using namespace Qt::StringLiterals;
using namespace DocumentValues;

namespace {

const QString kXmlMember = u"Sezz0.xml"_s;
const QString kOldMember = u"Sezz0.txp"_s;

enum class ReadResult { Ok, Damaged, Unreadable };

ReadResult readVersion35(SingleQuestion &q, TVfsPAK &work)
{
    const std::optional<QByteArray> data = ExtractStream(kOldMember, work);
    if (!data)
        return ReadResult::Unreadable;
    const QList<QByteArray> lines = splitLines(*data);
    // Line n of the table (from 1) is lines[n - 1].
    const auto text = [&lines](qsizetype n) -> std::optional<QString> {
        if (n < 1 || n > lines.size())
            return std::nullopt;
        const std::optional<QByteArray> bytes = DecodeSetting(lines[n - 1]);
        return bytes ? std::optional<QString>(Cp1250::toUnicode(*bytes)) : std::nullopt;
    };
    const auto number = [&text](qsizetype n) -> std::optional<int> {
        const std::optional<QString> t = text(n);
        bool ok = false;
        const int value = t ? t->toInt(&ok) : 0;
        return ok ? std::optional<int>(value) : std::nullopt;
    };

    q.textSource.clear();
    q.imageSource.clear();
    QString *const fields[] = {&q.fileName, &q.storedName};
    for (qsizetype n = 1; n <= 2; ++n) {
        const std::optional<QString> t = text(n);
        if (!t)
            return ReadResult::Damaged;
        *fields[n - 1] = *t;
    }
    const std::optional<int> multipleChoice = number(3);
    if (!multipleChoice)
        return ReadResult::Damaged;
    q.multipleChoice = *multipleChoice;
    const std::optional<int> answerCount = number(4);
    if (!answerCount)
        return ReadResult::Damaged;
    q.answerCount = *answerCount;
    QString *const rest[] = {&q.text,    &q.answers[0], &q.answers[1], &q.answers[2], &q.answers[3],
                             &q.correct, &q.textName,   &q.imageName,  &q.comment};
    for (qsizetype f = 0; f < 9; ++f) {
        const std::optional<QString> t = text(5 + f);
        if (!t)
            return ReadResult::Damaged;
        *rest[f] = *t;
    }
    // Version 35 has no fifth answer.
    q.answers[4].clear();
    return ReadResult::Ok;
}

ReadResult readVersion40(SingleQuestion &q, TVfsPAK &work)
{
    const std::optional<QByteArray> data = ExtractStream(kXmlMember, work);
    if (!data)
        return ReadResult::Unreadable;
    try {
        TpkXML doc;
        // A damaged document keeps what was parsed; what is missing reads as empty or 0.
        doc.LoadFromBytes(*data);
        const bool coded = IsDocumentCoded(doc, u"pyt"_s);
        const ChildIndex pyt(doc.DocumentChild(u"pyt"));
        q.textSource.clear();
        q.imageSource.clear();
        q.storedName = text(coded, pyt.find(u"name"));
        q.multipleChoice = integer(coded, pyt.find(u"typ"));
        q.answerCount = integer(coded, pyt.find(u"ilo"));
        q.text = text(coded, pyt.find(u"tr"));
        for (int a = 0; a < kMaxAnswers; ++a)
            q.answers[static_cast<size_t>(a)] = text(coded, pyt.find(u"od"_s + QString::number(a + 1)));
        q.correct = text(coded, pyt.find(u"odp"));
        q.textName = text(coded, pyt.find(u"plr"));
        q.imageName = text(coded, pyt.find(u"plimg"));
        q.comment = text(coded, pyt.find(u"kom"));
        q.savedAt = text(coded, pyt.find(u"dtu"));
    } catch (const std::exception &) {
        return ReadResult::Damaged;
    }
    return ReadResult::Ok;
}

QByteArray questionXml(const SingleQuestion &q)
{
    TpkXML doc;
    TpkXMLNode *pyt = doc.DocumentChild(u"pyt");
    addCoded(pyt, u"ver"_s, u"Edytor - Ver.4.0"_s);
    addCoded(pyt, u"name"_s, q.storedName);
    addCoded(pyt, u"typ"_s, q.multipleChoice);
    addCoded(pyt, u"ilo"_s, q.answerCount);
    addCoded(pyt, u"tr"_s, q.text);
    for (int a = 0; a < kMaxAnswers; ++a)
        addCoded(pyt, u"od"_s + QString::number(a + 1), q.answers[static_cast<size_t>(a)]);
    addCoded(pyt, u"odp"_s, q.correct);
    addCoded(pyt, u"plr"_s, q.textName);
    addCoded(pyt, u"plimg"_s, q.imageName);
    addCoded(pyt, u"kom"_s, q.comment);
    addCoded(pyt, u"dtu"_s, QDate::currentDate().toString(u"yyyy/MM/dd"_s));
    addMarker(pyt);
    return doc.SaveToBytes();
}

// One attachment: from disk when its source path is set, otherwise from the source archive. A file
// that cannot be had fails the write and is named in `missing`: the document would name a member it
// does not hold.
bool putAttachment(const QString &name, const QString &diskSource, TVfsPAK &source, TVfsPAK &target,
                   QString &missing)
{
    if (name.isEmpty())
        return true;
    // A name that would replace the question member itself is no attachment.
    if (name.compare(kXmlMember, Qt::CaseInsensitive) == 0 ||
        name.compare(kOldMember, Qt::CaseInsensitive) == 0)
        return true;
    if (!diskSource.isEmpty()) {
        const QFileInfo file(diskSource);
        if (!file.isFile() || !file.isReadable()) {
            missing = diskSource;
            return false;
        }
        return PutFile(diskSource, name, target);
    }
    if (!HasMember(name, source)) {
        missing = name;
        return false;
    }
    return CopyMember(source, target, name);
}

// Answer count and choice type no window can show: the document is damaged.
bool soundShape(const SingleQuestion &q)
{
    return q.answerCount >= 3 && q.answerCount <= kMaxAnswers && (q.multipleChoice == 0 || q.multipleChoice == 1);
}

} // namespace

bool ReadQuestionDocument(Workspace &ws, const QString &path, bool *messageShown)
{
    if (messageShown)
        *messageShown = false;
    const auto unreadable = [&ws] {
        ws.logEvent(0, u"Odczyt. Błąd wczytywania pliku Sezz0."_s);
        return false;
    };
    if (!ws.workingQuestion || !DeleteAllMembers(*ws.workingQuestion))
        return unreadable();
    std::unique_ptr<TVfsPAK> file = NewArchive();
    // The second copy holds this question's members only: Save As must never find an earlier one's.
    if (ws.workingQuestionAs && !DeleteAllMembers(*ws.workingQuestionAs))
        return unreadable();
    if (!openForReading(path, *file) || !CopyAllMembers(*file, *ws.workingQuestion) ||
        (ws.workingQuestionAs && !CopyAllMembers(*file, *ws.workingQuestionAs)))
        return unreadable();

    TVfsPAK &work = *ws.workingQuestion;
    const bool old = HasMember(kOldMember, work);
    ReadResult result = ReadResult::Unreadable;
    try {
        result = old ? readVersion35(ws.question, work) : readVersion40(ws.question, work);
    } catch (const std::exception &) {
        result = ReadResult::Damaged;
    }
    FreeArchive(file);
    if (result == ReadResult::Ok && !soundShape(ws.question))
        result = ReadResult::Damaged;

    switch (result) {
    case ReadResult::Ok:
        return true;
    case ReadResult::Unreadable:
        return unreadable();
    case ReadResult::Damaged:
        break;
    }
    ws.logEvent(0, old ? u"Odczyt. Ver 35. Błąd dekodowania pytaniu solo."_s
                       : u"Odczyt. Ver 40. Błąd dekodowania pytaniu solo."_s);
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, QuestionMessages::unreadable());
    if (messageShown)
        *messageShown = true;
    return false;
}

bool WriteQuestionDocument(Workspace &ws, const QString &path, TVfsPAK &source)
{
    const SingleQuestion &q = ws.question;
    const auto failed = [&ws](const QString &entry) {
        ws.logEvent(0, entry);
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, QuestionMessages::notWritten());
        return false;
    };

    QByteArray xml;
    try {
        xml = questionXml(q);
    } catch (const std::exception &) {
        return failed(u"Pytanie solo. Ver 40. Błąd zapisu zawartości pytania do xml."_s);
    }

    bool written = false;
    QString missing;
    try {
        // Not emptied and rewritten in place, as the format once was: a failed save must keep the old file.
        PendingArchive out(path);
        written = out.isOpen() && PutStream(kXmlMember, xml, out.archive()) &&
                  putAttachment(q.textName, q.textSource, source, out.archive(), missing) &&
                  putAttachment(q.imageName, q.imageSource, source, out.archive(), missing) && out.commit();
    } catch (const std::exception &) {
        written = false;
    }
    if (written)
        return true;
    if (missing.isEmpty())
        return failed(u"Pytanie solo. Ver 40. Błąd zapisu załączników do pytania."_s);
    ws.logEvent(0, u"Pytanie solo. Ver 40. Błąd zapisu załączników do pytania."_s);
    ws.logEvent(0, QuestionMessages::attachmentMissingEntry(missing));
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                   QuestionMessages::attachmentMissing(missing));
    return false;
}

bool CopyTestQuestion(Workspace &ws, int k)
{
    if (k < 1 || k > kMaxQuestions) {
        ws.logEvent(0, u"Pytanie solo. Ver 40. Błąd przepisywania pytania do pytania solo."_s);
        return false;
    }
    const Question &from = ws.test.question(k);
    SingleQuestion &q = ws.question;
    q.multipleChoice = ws.test.header.multipleChoice;
    q.answerCount = ws.test.header.answerCount;
    q.text = from.text;
    q.answers = from.answers;
    q.correct = from.correct;
    q.imageName = from.imageName;
    q.textName = from.textName;
    q.comment = from.comment;
    q.imageSource.clear();
    q.textSource.clear();
    return true;
}
