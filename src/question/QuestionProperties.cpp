#include "question/QuestionProperties.h"

#include "core/TextHelpers.h"
#include "core/Workspace.h"
#include "question/AttachmentFiles.h"
#include "question/QuestionEditor.h"
#include "question/QuestionInfo.h"
#include "storage/Pictures.h"
#include "toolkit/SkinGeometry.h"

using namespace Qt::StringLiterals;
namespace AF = AttachmentFiles;

namespace {

const QString kNoComment = u"Brak komentarza do pytania"_s;

QString missingFile(const QString &name)
{
    return u"Brak pliku „%1” lub nie można go odczytać."_s.arg(name);
}

QString missingPicture(const QString &name)
{
    return u"Nie można pokazać obrazu „%1”: brak pliku lub plik jest uszkodzony."_s.arg(name);
}

// Question k's attachments, from the test's working archive.
// The miniature's box inside PPodMiniature: the picture is decoded at the size it shows at.
constexpr QSize kMiniatureBox = SkinGeometry::WlasnosciPytania::picture.adjusted(4, 4, -4, -4).size();

void testAttachments(Workspace &ws, const Question &q, QuestionProperties &p)
{
    if (q.textName.isEmpty()) {
        p.fragment = u"Pytanie nie zawiera dodatkowego tekstu"_s;
    } else if (const auto lines = AF::memberLines(ws.workingTest.get(), q.textName)) {
        p.fragment = normaliseText(AF::joinedText(*lines));
    } else {
        ws.logEvent(0, u"Problem z wczytaniem pliku tekstowego z PakTemp"_s);
        p.fragment = missingFile(q.textName);
    }
    if (q.imageName.isEmpty())
        return;
    p.pictureShown = true;
    if (!AF::memberPicture(ws.workingTest.get(), q.imageName, p.picture, kMiniatureBox)) {
        ws.logEvent(0, u"Problem z wczytaniem pliku obrazu z PakTemp"_s);
        p.picture = QImage();
        p.pictureNote = missingPicture(q.imageName);
    }
}

QString orElse(const QString &first, const QString &second, const QString &fallback)
{
    if (!first.isEmpty())
        return first;
    return second.isEmpty() ? fallback : second;
}

} // namespace

QuestionProperties QuestionProperties::fromEditorInTest(QuestionEditor &editor)
{
    Workspace &ws = editor.workspace();
    const QuestionEditor::Fields &f = editor.fields;
    QuestionProperties p;
    p.text = f.text;
    for (int i = 0; i < kMaxAnswers; ++i)
        p.answers[i] = shortenText(f.answers[i], 70);
    p.comment = f.comment.isEmpty() ? kNoComment : shortenText(f.comment, 70);
    QString mask(kMaxAnswers, u'0');
    for (int i = 0; i < kMaxAnswers; ++i) {
        const bool marked = editor.multipleChoice() == 1 ? f.checked[i] : f.radio == i + 1;
        if (marked)
            mask[i] = u'1';
    }
    p.correctLine = QuestionInfo::correctLine(mask, kMaxAnswers);
    const int k = editor.questionNumber();
    if (k >= 1 && k <= kMaxQuestions)
        testAttachments(ws, ws.test.question(k), p);
    return p;
}

QuestionProperties QuestionProperties::fromTestQuestion(Workspace &ws, int k)
{
    QuestionProperties p;
    if (k < 1 || k > kMaxQuestions)
        return p;
    const Question &q = ws.test.question(k);
    p.text = q.text;
    for (int i = 0; i < kMaxAnswers; ++i)
        p.answers[i] = shortenText(q.answers[i], 70);
    p.comment = q.comment.isEmpty() ? kNoComment : shortenText(q.comment, 70);
    p.correctLine = QuestionInfo::correctLine(q.correct, kMaxAnswers);
    testAttachments(ws, q, p);
    return p;
}

QuestionProperties QuestionProperties::fromSingle(QuestionEditor &editor)
{
    Workspace &ws = editor.workspace();
    const SingleQuestion &q = ws.question;
    const QuestionEditor::Fields &f = editor.fields;
    QuestionProperties p;
    const QString noAnswer = u"Brak odpowiedzi"_s;
    p.text = orElse(q.text, f.text, u"Brak pytania"_s);
    for (int i = 0; i < kMaxAnswers; ++i) {
        if (i < q.answerCount)
            p.answers[i] = orElse(q.answers[i], f.answers[i], noAnswer);
    }
    p.correctLine = QuestionInfo::correctLine(q.correct, kMaxAnswers);
    if (q.textName.isEmpty()) {
        p.fragment = u"Pytanie nie zawiera dodatkowego\rpliku tekstowego"_s;
    } else {
        const auto lines = q.textSource.isEmpty() ? AF::memberLines(ws.workingQuestion.get(), q.textName)
                                                  : AF::diskLines(q.textSource);
        if (lines) {
            p.fragment = AF::shownText(*lines);
        } else {
            ws.logEvent(0, q.textSource.isEmpty() ? u"Problem z wczytaniem pliku tekstowego z PakTemp"_s
                                                  : u"Problem z wczytaniem pliku tekstowego z dysku"_s);
            p.fragment = missingFile(q.textName);
        }
    }
    if (!q.imageName.isEmpty()) {
        p.pictureShown = true;
        const bool read = q.imageSource.isEmpty()
                              ? AF::memberPicture(ws.workingQuestion.get(), q.imageName, p.picture, kMiniatureBox)
                              : LoadPictureFile(q.imageSource, p.picture, fitInto(kMiniatureBox)) &&
                                    !p.picture.isNull();
        if (!read) {
            ws.logEvent(0, u"Problem z wczytaniem pliku obrazu z PakTemp"_s);
            p.picture = QImage();
            p.pictureNote = missingPicture(q.imageName);
        }
    }
    p.comment = f.comment.isEmpty() ? kNoComment : f.comment;
    return p;
}
