#include "question/QuestionInfo.h"

#include "core/Workspace.h"
#include "question/AttachmentFiles.h"
#include "question/TestEditorLink.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"

using namespace Qt::StringLiterals;
namespace AF = AttachmentFiles;

QuestionInfo::QuestionInfo(Workspace &ws, TestEditorLink *testEditor) : m_ws(ws), m_test(testEditor) {}

QString QuestionInfo::correctLine(const QString &mask, int positions)
{
    QString line = u"Poprawne odpowiedzi: "_s;
    for (int i = 0; i < positions && i < mask.size(); ++i) {
        if (mask[i] == u'1')
            line += u"  Nr %1"_s.arg(i + 1);
    }
    return line;
}

QuestionInfo::Report QuestionInfo::fillInfoReport() const
{
    const SingleQuestion &q = m_ws.question;
    const TestHeader &h = m_ws.test.header;
    Report r;
    r.fileLine = u"Info o pliku: "_s + q.fileName;
    r.typeLine = q.multipleChoice != 0 ? u"Test wielokrotnego wyboru"_s : u"Test jednokrotnego wyboru"_s;
    r.countLine = u"Ilość odpowiedzi: "_s + QString::number(q.answerCount);
    r.text = q.text;
    // Four answer lines as the window always had; the fifth shows only for a five-answer question, and
    // its mark is reported with it.
    const bool five = q.answerCount >= kMaxAnswers;
    for (int i = 0; i < kMaxAnswers - 1; ++i)
        r.answers[i] = q.answers[i];
    if (five)
        r.answers[kMaxAnswers - 1] = q.answers[kMaxAnswers - 1];
    r.correctLine = correctLine(q.correct, five ? kMaxAnswers : kMaxAnswers - 1);
    r.textLine =
        q.textName.isEmpty() ? u"Pytaniu nie towarzyszy dodatkowy tekst"_s : u"Plik tekstu: "_s + q.textName;
    r.imageLine =
        q.imageName.isEmpty() ? u"Pytaniu nie towarzyszy obraz"_s : u"Plik obrazu: "_s + q.imageName;
    r.commentLine = q.comment.isEmpty() ? u"Brak komentarza do pytania"_s : q.comment;
    r.fits = q.answerCount == h.answerCount && q.multipleChoice == h.multipleChoice;
    r.verdict =
        r.fits
            ? u"Typ pytania i ilość odpowiedzi zgodna z tworzonym testem. Pytanie można dołączyć do testu"_s
            : u"Typ pytania lub ilość odpowiedzi niezgodne z tworzonym testem. Pytania nie można "
              u"dołączyć do testu. "_s;
    return r;
}

bool QuestionInfo::settleClash(bool text, Clash &clash)
{
    SingleQuestion &q = m_ws.question;
    const QString &name = text ? q.textName : q.imageName;
    TVfsPAK *test = m_ws.workingTest.get();
    if (name.isEmpty() || !test || !HasMember(name, *test))
        return true;
    const QByteArray inTest = ExtractStream(name, *test).value_or(QByteArray());
    const QByteArray incoming = m_ws.workingQuestion
                                    ? ExtractStream(name, *m_ws.workingQuestion).value_or(QByteArray())
                                    : QByteArray();
    const int index = test->IndexOfName(name);
    const QString memberName = test->Names().value(index, name);
    const ClashAnswer answer =
        m_ws.prompts ? (text ? m_ws.prompts->resolveTextClash(name, Cp1250::toUnicode(inTest),
                                                              Cp1250::toUnicode(incoming))
                             : m_ws.prompts->resolveImageClash(name, inTest, memberName, incoming, name))
                     : ClashAnswer{};
    clash.checked = true;
    clash.result = answer.result;
    if (answer.result == ClashAnswer::Cancel)
        return false;
    if (answer.result == ClashAnswer::OtherFile) {
        clash.newName = AF::typedName(text, answer.newName, name);
        // The program's dialog refuses such a name before it closes; whatever answered is held to the
        // same rule.
        if (const QString refusal = AF::clashNameProblem(text, answer.newName, name, test); !refusal.isEmpty()) {
            m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, refusal);
            return false;
        }
    }
    return true;
}

QString QuestionInfo::bringAttachment(bool text, const Clash &clash)
{
    SingleQuestion &q = m_ws.question;
    QString &name = text ? q.textName : q.imageName;
    if (name.isEmpty())
        return {};
    if (clash.checked && clash.result == ClashAnswer::SameFile)
        return name; // the test's file of that name serves the new question
    const QString target = clash.checked ? clash.newName : name;
    const std::optional<QByteArray> bytes =
        m_ws.workingQuestion ? ExtractStream(name, *m_ws.workingQuestion) : std::nullopt;
    if (!bytes || !m_ws.workingTest || !PutStream(target, *bytes, *m_ws.workingTest)) {
        // The question comes without the file rather than referring to one the test does not hold.
        m_ws.logEvent(0, u"Nie dołączono pliku %1 do testu."_s.arg(name));
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Nie udało się przenieść do testu pliku „%1”\rdołączonego do pytania.\r"
                         u"Pytanie dodano bez tego pliku."_s.arg(name));
        return {};
    }
    name = target;
    LastAttachments &last = m_ws.lastAttachments;
    (text ? last.textName : last.imageName) = target;
    (text ? last.textSource : last.imageSource).clear();
    return target;
}

QuestionInfo::Outcome QuestionInfo::addQuestionFromFile()
{
    TestModel &t = m_ws.test;
    if (!fillInfoReport().fits)
        return Outcome::NotAdded;
    if (t.header.questionCount >= kMaxQuestions) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Test zawiera już %1 pytań.\rWięcej pytań dodać nie można."_s.arg(kMaxQuestions));
        return Outcome::NotAdded;
    }
    Clash textClash;
    Clash imageClash;
    if (!settleClash(true, textClash) || !settleClash(false, imageClash))
        return Outcome::NotAdded;

    const SingleQuestion &q = m_ws.question;
    const int k = ++t.header.questionCount;
    Question &record = t.question(k);
    record.text = q.text;
    record.answers = q.answers;
    record.correct = q.correct;
    record.textName = bringAttachment(true, textClash);
    record.imageName = bringAttachment(false, imageClash);
    record.comment = q.comment;
    record.textSource.clear();
    record.imageSource.clear();
    record.unfinished = 0;

    if (m_test) {
        m_test->questionAppended(k);
        m_test->setTestModified();
    }
    return Outcome::Added;
}
