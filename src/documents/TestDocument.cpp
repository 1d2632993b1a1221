#include "documents/TestDocument.h"

#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/DocumentValues.h"
#include "storage/FieldCoding.h"
#include "storage/PendingArchive.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"

#include <QSet>
#include <algorithm>
#include <exception>
#include <optional>

using namespace Qt::StringLiterals;
using namespace DocumentValues;

namespace {

const QString kXmlMember = u"Serr0.xml"_s;
const QString kOldMember = u"Serr0.txp"_s;
const QString kTooManyQuestions = u"Odczyt. Test ma więcej pytań niż 45; wczytano pierwsze 45."_s;

// The question count a file claims, brought into what the model holds.
int acceptedQuestionCount(Workspace &ws, int claimed)
{
    if (claimed > kMaxQuestions) {
        ws.logEvent(0, kTooManyQuestions);
        ws.test.questionsLeftOut = claimed - kMaxQuestions;
        return kMaxQuestions;
    }
    return std::max(claimed, 0);
}

// Decoded version-35 lines; a missing or undecodable line has no value.
class OldLines {
public:
    explicit OldLines(QList<QByteArray> lines) : m_lines(std::move(lines)) {}

    std::optional<QString> text(qsizetype i) const
    {
        if (i < 0 || i >= m_lines.size())
            return std::nullopt;
        const std::optional<QByteArray> bytes = DecodeSettingOld(m_lines[i]);
        if (!bytes)
            return std::nullopt;
        return Cp1250::toUnicode(*bytes);
    }
    std::optional<int> number(qsizetype i) const
    {
        const std::optional<QString> t = text(i);
        bool ok = false;
        const int value = t ? t->toInt(&ok) : 0;
        return ok ? std::optional<int>(value) : std::nullopt;
    }

private:
    QList<QByteArray> m_lines;
};

bool readVersion35(Workspace &ws, TVfsPAK &work)
{
    const std::optional<QByteArray> data = ExtractStream(kOldMember, work);
    if (!data) {
        ws.logEvent(0, u"Odczyt. Błąd wczytywania pliku Serr0."_s);
        return false;
    }
    const OldLines lines(splitLines(*data));
    TestHeader &h = ws.test.header;

    // Header lines in file order; the fields read before a failure keep their values.
    const auto headerFails = [&ws] {
        ws.logEvent(0, u"Odczyt. Ver 35. Błąd dekodowania informacji o teście."_s);
        return false;
    };
    const std::optional<int> multipleChoice = lines.number(1);
    if (!multipleChoice)
        return headerFails();
    h.multipleChoice = *multipleChoice;
    const std::optional<int> count = lines.number(2);
    if (!count)
        return headerFails();
    h.questionCount = acceptedQuestionCount(ws, *count);
    const std::optional<QString> testName = lines.text(3);
    if (!testName)
        return headerFails();
    h.testName = *testName;
    const std::optional<QString> author = lines.text(4);
    if (!author)
        return headerFails();
    h.author = *author;
    const std::optional<int> answerCount = lines.number(5);
    if (!answerCount)
        return headerFails();
    h.answerCount = *answerCount;

    for (int i = 1; i <= h.questionCount; ++i) {
        Question &q = ws.test.question(i);
        const qsizetype first = 9 * qsizetype(i) - 3;
        std::optional<QString> field[9];
        bool whole = true;
        for (int f = 0; f < 9 && whole; ++f) {
            field[f] = lines.text(first + f);
            whole = field[f].has_value();
        }
        if (!whole) {
            ws.logEvent(0, u"Odczyt. Ver 35. Błąd dekodowania pytania nr. "_s + QString::number(i));
            return false;
        }
        q.text = *field[0];
        for (int a = 0; a < 4; ++a)
            q.answers[static_cast<size_t>(a)] = *field[1 + a];
        q.correct = *field[5];
        q.textName = *field[6];
        q.imageName = *field[7];
        q.comment = *field[8];
        q.unfinished = 0;
    }
    return true;
}

TpkXMLNode *childOf(TpkXMLNode *parent, QStringView name)
{
    return parent ? parent->ChildByName(name, 0, -1, false) : nullptr;
}

bool readVersion40(Workspace &ws, TVfsPAK &work)
{
    const std::optional<QByteArray> data = ExtractStream(kXmlMember, work);
    if (!data) {
        ws.logEvent(0, u"Odczyt. Błąd wczytywania pliku Serr0."_s);
        return false;
    }
    TpkXML doc;
    // A damaged document keeps what was parsed; what is missing reads as empty or 0.
    doc.LoadFromBytes(*data);
    TestHeader &h = ws.test.header;
    bool coded = false;
    TpkXMLNode *tst = nullptr;
    std::optional<ChildIndex> top;

    try {
        tst = doc.DocumentChild(u"tst");
        coded = IsDocumentCoded(doc, u"tst"_s);
        top.emplace(tst);
        h.questionCount = acceptedQuestionCount(ws, integer(coded, top->find(u"ilp")));
        h.multipleChoice = integer(coded, top->find(u"typ"));
        h.answerCount = integer(coded, top->find(u"ilo"));
        h.testName = text(coded, top->find(u"nmt"));
        h.author = text(coded, top->find(u"name"));
        h.time = integer(coded, top->find(u"tim"));
        TpkXMLNode *skl = top->find(u"skl");
        h.gradingOn = integer(coded, childOf(skl, u"tk"));
        const QStringView thresholds[] = {u"cel", u"bdb", u"db", u"dst", u"dp"};
        for (size_t t = 0; t < 5; ++t)
            h.thresholds[t] = integer(coded, childOf(skl, thresholds[t]));
    } catch (const std::exception &) {
        ws.logEvent(0, u"Odczyt. Ver 40. Błąd dekodowania informacji o teście."_s);
        return false;
    }

    for (int i = 1; i <= h.questionCount; ++i) {
        try {
            // Looked up by the exact number: a gap reads as a blank question.
            TpkXMLNode *pyt = top->find(u"pyt"_s + QString::number(i));
            Question &q = ws.test.question(i);
            q.text = text(coded, childOf(pyt, u"tr"));
            for (int a = 0; a < kMaxAnswers; ++a)
                q.answers[static_cast<size_t>(a)] =
                    text(coded, childOf(pyt, u"od"_s + QString::number(a + 1)));
            q.correct = text(coded, childOf(pyt, u"odp"));
            q.textName = text(coded, childOf(pyt, u"plr"));
            q.imageName = text(coded, childOf(pyt, u"plimg"));
            q.comment = text(coded, childOf(pyt, u"kom"));
            q.unfinished = 0;
        } catch (const std::exception &) {
            ws.logEvent(0, u"Odczyt. Ver 40. Błąd dekodowania pytania nr. "_s + QString::number(i));
            return false;
        }
    }

    try {
        h.remarks = text(coded, top->find(u"uwg"));
        h.date = text(coded, top->find(u"dtu"));
    } catch (const std::exception &) {
        ws.logEvent(0, u"Odczyt. Ver 40. Błąd dekodowania danych uzupełniających (data, uwagi)."_s);
        return false;
    }
    return true;
}

bool readTest(Workspace &ws, const QString &path)
{
    std::unique_ptr<TVfsPAK> file = NewArchive();
    if (!ws.workingTest || !openForReading(path, *file) || !DeleteAllMembers(*ws.workingTest) ||
        !CopyAllMembers(*file, *ws.workingTest)) {
        ws.logEvent(0, u"Odczyt. Błąd wczytania spakowanej zawartości."_s);
        return false;
    }
    TVfsPAK &work = *ws.workingTest;
    try {
        return HasMember(kOldMember, work) ? readVersion35(ws, work) : readVersion40(ws, work);
    } catch (const std::exception &) {
        ws.logEvent(0, u"Odczyt. Błąd wczytywania pliku Serr0."_s);
        return false;
    }
}

QByteArray testXml(const TestModel &test)
{
    TpkXML doc;
    TpkXMLNode *tst = doc.DocumentChild(u"tst");
    const TestHeader &h = test.header;
    const int count = std::clamp(h.questionCount, 0, kMaxQuestions);
    addCoded(tst, u"ilp"_s, count);
    addCoded(tst, u"typ"_s, h.multipleChoice);
    addCoded(tst, u"ilo"_s, h.answerCount);
    addCoded(tst, u"nmt"_s, h.testName);
    addCoded(tst, u"name"_s, h.author);
    addCoded(tst, u"tim"_s, h.time);
    TpkXMLNode *skl = tst->addChild(u"skl"_s);
    addCoded(skl, u"tk"_s, h.gradingOn);
    const QString thresholds[] = {u"cel"_s, u"bdb"_s, u"db"_s, u"dst"_s, u"dp"_s};
    for (size_t t = 0; t < 5; ++t)
        addCoded(skl, thresholds[t], h.thresholds[t]);
    for (int i = 1; i <= count; ++i) {
        const Question &q = test.question(i);
        TpkXMLNode *pyt = tst->addChild(u"pyt"_s + QString::number(i));
        addCoded(pyt, u"tr"_s, q.text);
        for (int a = 0; a < kMaxAnswers; ++a)
            addCoded(pyt, u"od"_s + QString::number(a + 1), q.answers[static_cast<size_t>(a)]);
        addCoded(pyt, u"odp"_s, q.correct);
        addCoded(pyt, u"plr"_s, q.textName);
        addCoded(pyt, u"plimg"_s, q.imageName);
        addCoded(pyt, u"kom"_s, q.comment);
    }
    addCoded(tst, u"uwg"_s, h.remarks);
    addCoded(tst, u"dtu"_s, h.date);
    addMarker(tst);
    return doc.SaveToBytes();
}

bool writeTest(Workspace &ws, const QString &path)
{
    const QByteArray xml = testXml(ws.test);
    // Not emptied and rewritten in place, as the format once was: a failed save must keep the old file.
    PendingArchive out(path);
    if (!out.isOpen() || !PutStream(kXmlMember, xml, out.archive()))
        return false;

    // A name several questions share is copied once; a name that would overwrite the document
    // member itself is not an attachment.
    QSet<QString> done{kXmlMember.toCaseFolded(), kOldMember.toCaseFolded()};
    const int count = std::clamp(ws.test.header.questionCount, 0, kMaxQuestions);
    for (int i = 1; i <= count; ++i) {
        const Question &q = ws.test.question(i);
        for (const QString &name : {q.textName, q.imageName}) {
            if (name.isEmpty() || done.contains(name.toCaseFolded()))
                continue;
            done.insert(name.toCaseFolded());
            if (ws.workingTest && HasMember(name, *ws.workingTest) &&
                !CopyMember(*ws.workingTest, out.archive(), name))
                return false;
        }
    }
    return out.commit();
}

} // namespace

bool ReadTestDocument(Workspace &ws, const QString &path)
{
    ws.test.resetTest();
    if (readTest(ws, path))
        return true;
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                   u"Problemy z otwarciem pliku testu.\rPrawdopodobnie plik jest uszkodzony."_s);
    return false;
}

bool WriteTestDocument(Workspace &ws, const QString &path)
{
    bool written = false;
    try {
        written = writeTest(ws, path);
    } catch (const std::exception &) {
        written = false;
    }
    if (written)
        return true;
    ws.logEvent(0, u"Zapis. Błąd zapisu pliku testu."_s);
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                   u"Wystąpiły problemy z zapisem pliku testu.\rSprawdź plik błędów."_s);
    return false;
}
