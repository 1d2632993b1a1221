#include "question/QuestionEditor.h"

#include "core/TextHelpers.h"
#include "core/Workspace.h"
#include "question/AttachmentFiles.h"
#include "question/TestEditorLink.h"
#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "documents/QuestionMessages.h"
#include "storage/TVfsPAK.h"

#include <QFileInfo>
#include <QStringList>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kIncomplete = u"\rWpisz poprawnie pytanie i odpowiedzi."_s;
const QString kNoCorrectMark = u"\rZaznacz poprawną odpowiedź."_s;
const QString kAskSave = u"W dokumencie dokonano zmian.\rCzy zapisać zmiany?"_s;

// The clock stands at the editor's left + 38, top + 202.
constexpr QPoint kClockOffset{38, 202};

QString singleMask(int i)
{
    QString mask(kMaxAnswers, u'0');
    if (i >= 1 && i <= kMaxAnswers)
        mask[i - 1] = u'1';
    return mask;
}

} // namespace

QuestionEditor::QuestionEditor(Workspace &ws) : m_ws(ws) {}

bool QuestionEditor::inTest() const
{
    return m_ws.workMode == WorkTest;
}

int QuestionEditor::answerCount() const
{
    return inTest() ? m_ws.test.header.answerCount : m_ws.question.answerCount;
}

int QuestionEditor::multipleChoice() const
{
    return inTest() ? m_ws.test.header.multipleChoice : m_ws.question.multipleChoice;
}

QString QuestionEditor::typeCaption(int multipleChoice)
{
    return multipleChoice == 1 ? u"Wielokrotny wybór"_s : u"Jednokrotny wybór"_s;
}

QString QuestionEditor::countCaption(int answerCount)
{
    switch (answerCount) {
    case 3:
        return u"Trzy odpowiedzi"_s;
    case 4:
        return u"Cztery odpowiedzi"_s;
    case 5:
        return u"Pięć odpowiedzi"_s;
    default:
        return {};
    }
}

// --- Entry points -------------------------------------------------------------------------------

bool QuestionEditor::fillFromTest(int k)
{
    if (k < 1 || k > kMaxQuestions || k > m_ws.test.header.questionCount)
        return false;
    m_k = k;
    m_editMode = EditMode::InTest;
    clearAnswerMarks();
    const Question &q = m_ws.test.question(k);
    // Cancel puts it back: the marks below and the user's clicks reach the record at once.
    m_maskAtOpen = q.correct;
    const TestHeader &h = m_ws.test.header;
    // The marks from the mask run the mark handlers: a blank single-choice question becomes "10000".
    applyMarksFromMask(q.correct);
    fields.text = q.text;
    for (int i = 0; i < kMaxAnswers; ++i)
        fields.answers[static_cast<size_t>(i)] = i < h.answerCount ? q.answers[static_cast<size_t>(i)] : QString();
    fields.comment = q.comment;
    popupKind = PopupKind::None;
    // The marks set above are the record's own, not the user's.
    m_testQuestionEdited = false;
    return true;
}

void QuestionEditor::clearAnswerMarks()
{
    // WorkMode 111 keeps the mark handlers from touching a record; the headless marks only clear.
    const int mode = m_ws.workMode;
    m_ws.workMode = WorkTransient;
    fields.radio = 0;
    fields.checked.fill(false);
    m_ws.workMode = mode;
}

void QuestionEditor::emptyWorkingCopies()
{
    for (TVfsPAK *archive : {m_ws.workingQuestion.get(), m_ws.workingQuestionAs.get()}) {
        if (archive)
            DeleteAllMembers(*archive);
    }
}

void QuestionEditor::newSingleQuestion()
{
    m_lock.release();
    // A new question has no attachments: nothing of an earlier one may be taken for its.
    emptyWorkingCopies();
    m_ws.question.filePath.clear();
    m_ws.lastAttachments.clear();
    m_editMode = EditMode::NewSingle;
    m_ws.question.resetSingleQuestion();
    fillFromSingle();
}

bool QuestionEditor::openSingleQuestion()
{
    const QString path =
        m_ws.prompts ? m_ws.prompts->openFileName(QuestionMessages::openRequest()) : QString();
    if (path.isEmpty())
        return false;
    return openSingleQuestionFile(path);
}

bool QuestionEditor::openSingleQuestionFile(const QString &path)
{
    // Another program editing the same file would lose one of the two saves.
    if (m_lock.lock(path) == DocumentLock::Result::InUse) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, DocumentLock::inUseMessage(path));
        return false;
    }
    m_ws.question.filePath = path;
    m_ws.question.resetSingleQuestion();
    m_ws.question.fileName = QFileInfo(path).fileName();
    bool reported = false;
    if (!ReadQuestionDocument(m_ws, path, &reported)) {
        // A file that is no question document at all is only logged by the reader; the user who chose
        // it must hear why nothing opens.
        if (!reported)
            m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, QuestionMessages::unreadable());
        m_ws.question.filePath.clear();
        m_lock.release();
        return false;
    }
    m_editMode = EditMode::OpenedSingle;
    m_ws.workMode = WorkSingleQuestion;
    m_ws.lastAttachments.clear();
    fillFromSingle();
    return true;
}

void QuestionEditor::fillFromSingle()
{
    const SingleQuestion &q = m_ws.question;
    applyMarksFromMask(q.correct);
    fields.text = q.text;
    for (int i = 0; i < kMaxAnswers; ++i)
        fields.answers[static_cast<size_t>(i)] = i < q.answerCount ? q.answers[static_cast<size_t>(i)] : QString();
    fields.comment = q.comment;
    popupKind = PopupKind::None;
    questionModified = false;
}

void QuestionEditor::applyMarksFromMask(const QString &mask)
{
    if (multipleChoice() == 1) {
        for (int i = 1; i <= kMaxAnswers; ++i)
            setChecked(i, i <= mask.size() && mask[i - 1] == u'1');
        return;
    }
    const qsizetype first = mask.indexOf(u'1');
    selectRadio(first >= 0 && first < kMaxAnswers ? static_cast<int>(first) + 1 : 1);
}

// --- Edits --------------------------------------------------------------------------------------

void QuestionEditor::touch()
{
    questionModified = true;
    ++m_revision;
}

void QuestionEditor::userEdited()
{
    if (m_ws.workMode == WorkSingleQuestion)
        touch();
    else if (inTest())
        m_testQuestionEdited = true;
}

void QuestionEditor::setText(const QString &text)
{
    if (fields.text == text)
        return;
    fields.text = text;
    userEdited();
}

void QuestionEditor::setAnswer(int i, const QString &text)
{
    if (i < 1 || i > kMaxAnswers || fields.answers[static_cast<size_t>(i - 1)] == text)
        return;
    fields.answers[static_cast<size_t>(i - 1)] = text;
    userEdited();
}

void QuestionEditor::setComment(const QString &text)
{
    if (fields.comment == text)
        return;
    fields.comment = text;
    userEdited();
}

QString &QuestionEditor::recordMask()
{
    return inTest() && m_k >= 1 && m_k <= kMaxQuestions ? m_ws.test.question(m_k).correct : m_ws.question.correct;
}

void QuestionEditor::selectRadio(int i)
{
    if (i < 1 || i > kMaxAnswers)
        return;
    fields.radio = i;
    if (m_ws.workMode == WorkTransient)
        return;
    recordMask() = singleMask(i);
    popupKind = PopupKind::None;
    userEdited();
}

void QuestionEditor::setChecked(int i, bool checked)
{
    if (i < 1 || i > kMaxAnswers)
        return;
    fields.checked[static_cast<size_t>(i - 1)] = checked;
    if (m_ws.workMode == WorkTransient)
        return;
    QString &mask = recordMask();
    if (mask.size() < kMaxAnswers)
        mask = mask.leftJustified(kMaxAnswers, u'0');
    mask[i - 1] = checked ? u'1' : u'0';
    userEdited();
}

void QuestionEditor::selectAnswerByKey(int n)
{
    if (multipleChoice() == 1 || n < 1 || n > 4 || n > answerCount())
        return;
    selectRadio(n);
}

// --- Popup --------------------------------------------------------------------------------------

void QuestionEditor::togglePopup(PopupKind kind)
{
    if (popupKind != PopupKind::None) {
        popupKind = PopupKind::None;
        return;
    }
    if (typeAndCountEditable())
        popupKind = kind;
}

QStringList QuestionEditor::popupItems() const
{
    switch (popupKind) {
    case PopupKind::Type:
        return {typeCaption(0), typeCaption(1)};
    case PopupKind::Count:
        return {countCaption(3), countCaption(4), countCaption(5)};
    case PopupKind::None:
        break;
    }
    return {};
}

void QuestionEditor::choosePopupItem(int index)
{
    const PopupKind kind = popupKind;
    if (kind == PopupKind::Type && (index == 0 || index == 1)) {
        m_ws.question.multipleChoice = index;
    } else if (kind == PopupKind::Count && index >= 0 && index <= 2) {
        m_ws.question.answerCount = 3 + index;
    } else {
        return;
    }
    // Texts, hidden answers and the mask stay: switching back shows them again.
    touch();
    popupKind = PopupKind::None;
}

// --- Checks -------------------------------------------------------------------------------------

bool QuestionEditor::isComplete() const
{
    const int n = answerCount();
    if (fields.text.isEmpty())
        return false;
    for (int i = 0; i < kMaxAnswers && i < n; ++i) {
        if (fields.answers[static_cast<size_t>(i)].isEmpty())
            return false;
    }
    return true;
}

bool QuestionEditor::hasCorrectMark() const
{
    // Only the answers shown count: a mark left on a hidden answer is no right answer.
    const int n = answerCount();
    if (multipleChoice() != 1)
        return fields.radio >= 1 && fields.radio <= n;
    for (int i = 0; i < kMaxAnswers && i < n; ++i) {
        if (fields.checked[static_cast<size_t>(i)])
            return true;
    }
    return false;
}

QString QuestionEditor::maskFromMarks() const
{
    const int n = answerCount();
    if (multipleChoice() == 1) {
        QString mask;
        for (int i = 0; i < kMaxAnswers; ++i)
            mask += i < n && fields.checked[static_cast<size_t>(i)] ? u'1' : u'0';
        return mask;
    }
    // The mark of a hidden answer is not written.
    if (fields.radio > n)
        return singleMask(0);
    return singleMask(fields.radio >= 1 && fields.radio <= 4 ? fields.radio : 5);
}

// --- Commands -----------------------------------------------------------------------------------

template <typename Record> void QuestionEditor::copyShown(Record &q, ShownCopy copy) const
{
    const bool asTyped = copy == ShownCopy::Recovery;
    const auto shown = [asTyped](const QString &text) { return asTyped ? text : normaliseText(text); };
    const int n = answerCount();
    q.text = shown(fields.text);
    for (int i = 0; i < kMaxAnswers; ++i) {
        QString &answer = q.answers[static_cast<size_t>(i)];
        if (i < n || copy == ShownCopy::Recovery)
            answer = shown(fields.answers[static_cast<size_t>(i)]);
        else if (copy == ShownCopy::Saved)
            answer.clear();
    }
    q.comment = shown(fields.comment);
    q.correct = maskFromMarks();
}

QuestionEditor::Outcome QuestionEditor::commitTestQuestion()
{
    if (!inTest() || m_k < 1)
        return Outcome::StayOpen;
    if (!isComplete()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, kIncomplete);
        return Outcome::StayOpen;
    }
    if (!hasCorrectMark()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, kNoCorrectMark);
        return Outcome::StayOpen;
    }
    Question &q = m_ws.test.question(m_k);
    // Answers beyond the test's count keep their stored values.
    copyShown(q, ShownCopy::SavedFromTest);
    if (m_ws.settings.ng && m_test)
        m_test->setNodeLabel(m_k, q.text.left(55));
    q.unfinished = 0;
    if (m_test) {
        m_test->setNodeMark(m_k);
        m_test->setTestModified();
    }
    return Outcome::Close;
}

bool QuestionEditor::adoptDiskAttachments()
{
    SingleQuestion &q = m_ws.question;
    const std::pair<const QString *, QString *> attached[] = {{&q.textName, &q.textSource},
                                                              {&q.imageName, &q.imageSource}};
    for (const auto &[name, source] : attached) {
        if (name->isEmpty() || source->isEmpty())
            continue;
        const std::optional<QByteArray> bytes = AttachmentFiles::diskBytes(*source);
        if (!bytes) {
            m_ws.logEvent(0, QuestionMessages::attachmentMissingEntry(*source));
            m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                             QuestionMessages::attachmentMissing(*source));
            return false;
        }
        for (TVfsPAK *archive : {m_ws.workingQuestion.get(), m_ws.workingQuestionAs.get()}) {
            if (archive && !PutStream(*name, *bytes, *archive)) {
                m_ws.logEvent(0, archive->errorString());
                m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                                 QuestionMessages::notWritten());
                return false;
            }
        }
        source->clear();
    }
    return true;
}

bool QuestionEditor::writeSingle(bool askName)
{
    SingleQuestion &q = m_ws.question;
    copyShown(q, ShownCopy::Saved);

    QString path = q.filePath;
    if (askName || path.isEmpty()) {
        FileDialogRequest r = QuestionMessages::saveAsRequest();
        r.fileName = q.filePath;
        path = m_ws.prompts ? m_ws.prompts->saveFileName(r) : QString();
        if (path.isEmpty())
            return false;
    }
    // A file chosen on disk goes into the working copies before the write: the saved question no
    // longer depends on it, and one that cannot be read stops the save before anything is written.
    if (!adoptDiskAttachments())
        return false;
    // Under another name the attachments that came with the file are taken from the second working
    // copy, which holds them as read.
    TVfsPAK *source = askName ? m_ws.workingQuestionAs.get() : m_ws.workingQuestion.get();
    if (!source)
        source = m_ws.workingQuestion.get();
    if (!source || !WriteQuestionDocument(m_ws, path, *source))
        return false;
    if (path != q.filePath)
        m_lock.lock(path);
    q.filePath = path;
    q.fileName = QFileInfo(path).fileName();
    return true;
}

bool QuestionEditor::writeTestQuestionAsShown()
{
    if (!CopyTestQuestion(m_ws, m_k))
        return false;
    copyShown(m_ws.question, ShownCopy::SavedFromTest);
    const QString path =
        m_ws.prompts ? m_ws.prompts->saveFileName(QuestionMessages::saveAsRequest()) : QString();
    // The test's attachments are all in its working archive.
    if (path.isEmpty() || !m_ws.workingTest)
        return false;
    return WriteQuestionDocument(m_ws, path, *m_ws.workingTest);
}

void QuestionEditor::showClock()
{
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(position.x() + kClockOffset.x(), position.y() + kClockOffset.y());
}

bool QuestionEditor::saveWithClock(bool askName)
{
    if (!isComplete() || !hasCorrectMark()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kIncomplete);
        return false;
    }
    if (inTest()) {
        if (!writeTestQuestionAsShown())
            return false;
        showClock();
        return true;
    }
    if (!writeSingle(askName))
        return false;
    questionModified = false;
    showClock();
    return true;
}

bool QuestionEditor::saveSingleQuestion()
{
    if (m_ws.workMode != WorkSingleQuestion)
        return false;
    return saveWithClock(false);
}

bool QuestionEditor::saveSingleQuestionAs()
{
    if (m_ws.workMode != WorkSingleQuestion && m_ws.workMode != WorkTest)
        return false;
    return saveWithClock(true);
}

void QuestionEditor::saveTestQuestionAsSingle()
{
    if (!inTest() || !m_test)
        return;
    if (m_test->saveQuestionAs(m_k))
        showClock();
}

void QuestionEditor::cancelTestQuestion()
{
    if (inTest() && m_k >= 1 && m_k <= kMaxQuestions)
        m_ws.test.question(m_k).correct = m_maskAtOpen;
    popupKind = PopupKind::None;
}

QuestionEditor::Outcome QuestionEditor::closeQuestion()
{
    if (m_ws.workMode == WorkSingleQuestion && questionModified) {
        switch (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::InfoIcon, kAskSave)) {
        case MessageResult::Yes:
            // Saving without the completeness checks; a failed write keeps the window open.
            if (!writeSingle(false))
                return Outcome::StayOpen;
            questionModified = false;
            showClock();
            break;
        case MessageResult::No:
            questionModified = false;
            break;
        default:
            return Outcome::StayOpen;
        }
    }
    if (m_ws.workMode == WorkSingleQuestion)
        m_ws.workMode = WorkNothing;
    else
        cancelTestQuestion(); // Esc in a test is LAnuluj
    popupKind = PopupKind::None;
    return Outcome::Close;
}

void QuestionEditor::notOpened()
{
    windowClosed();
    if (m_ws.workMode == WorkSingleQuestion)
        m_ws.workMode = WorkNothing;
    popupKind = PopupKind::None;
}

void QuestionEditor::nextQuestion()
{
    if (m_ws.workMode != WorkSingleQuestion)
        return;
    if (questionModified) {
        switch (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::InfoIcon, kAskSave)) {
        case MessageResult::Yes:
            if (!writeSingle(false))
                return;
            questionModified = false;
            showClock();
            break;
        case MessageResult::No:
            questionModified = false;
            break;
        default:
            return;
        }
    }
    SingleQuestion &q = m_ws.question;
    const int type = q.multipleChoice;
    const int count = q.answerCount;
    q.filePath.clear();
    m_lock.release();
    emptyWorkingCopies();
    q.resetSingleQuestion();
    q.multipleChoice = type;
    q.answerCount = count;
    m_ws.lastAttachments.clear();
    fillFromSingle();
}

// --- Attachments --------------------------------------------------------------------------------

QuestionEditor::AttachmentFields QuestionEditor::attachments()
{
    if (inTest() && m_k >= 1 && m_k <= kMaxQuestions) {
        Question &q = m_ws.test.question(m_k);
        return {q.textName, q.textSource, q.imageName, q.imageSource};
    }
    SingleQuestion &q = m_ws.question;
    return {q.textName, q.textSource, q.imageName, q.imageSource};
}

void QuestionEditor::markChanged()
{
    if (inTest()) {
        if (m_test)
            m_test->setTestModified();
        return;
    }
    touch();
}

// --- Recovery -----------------------------------------------------------------------------------

bool QuestionEditor::writeRecoveryCopy(const QString &path)
{
    if (inTest() || !m_ws.workingQuestion)
        return false;
    // The question as shown, without a word to the user: a copy that fails is tried again later.
    SingleQuestion &q = m_ws.question;
    const SingleQuestion kept = q;
    copyShown(q, ShownCopy::Recovery);
    // An attachment that cannot be had would fail every copy: the texts are worth more than its name.
    const std::pair<QString *, QString *> attached[] = {{&q.textName, &q.textSource}, {&q.imageName, &q.imageSource}};
    for (const auto &[name, source] : attached) {
        const bool had = source->isEmpty() ? HasMember(*name, *m_ws.workingQuestion)
                                           : QFileInfo(*source).isFile() && QFileInfo(*source).isReadable();
        if (!name->isEmpty() && !had) {
            name->clear();
            source->clear();
        }
    }
    Prompts *prompts = std::exchange(m_ws.prompts, nullptr);
    const bool written = WriteQuestionDocument(m_ws, path, *m_ws.workingQuestion);
    m_ws.prompts = prompts;
    q = kept;
    return written;
}

bool QuestionEditor::openRecoveryCopy(const QString &copy, const QString &original)
{
    m_ws.workMode = WorkSingleQuestion;
    if (!openSingleQuestionFile(copy))
        return false;
    // The work belongs to the original file (none for a question never saved), and is not saved yet.
    m_ws.question.filePath = original;
    m_ws.question.fileName = original.isEmpty() ? QString() : QFileInfo(original).fileName();
    if (original.isEmpty())
        m_lock.release();
    else if (m_lock.lock(original) == DocumentLock::Result::InUse)
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, DocumentLock::inUseMessage(original));
    touch();
    return true;
}
