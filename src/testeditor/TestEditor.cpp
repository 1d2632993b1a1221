#include "testeditor/TestEditor.h"

#include "core/Workspace.h"
#include "interchange/QuestionImport.h"
#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "documents/QuestionMessages.h"
#include "documents/TestDocument.h"
#include "testeditor/TestInfo.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kAskDelete = u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s;
const QString kAskSave = u"W dokumencie dokonano zmian.\rCzy zapisać zmiany?"_s;
const QString kDamaged = u"Problemy z otwarciem pliku testu.\rPrawdopodobnie plik jest uszkodzony."_s;

// The clock after a save, a save as from its label and a question saved as a file; after Ctrl+Shift+S.
constexpr QPoint kClockOffset{190, 180};
constexpr QPoint kKeyClockOffset{200, 140};

FileDialogRequest testRequest(const QString &title)
{
    FileDialogRequest r;
    r.title = title;
    r.filter = u"Plik testu (*.skt)"_s;
    r.defaultExtension = u"skt"_s;
    return r;
}

} // namespace

TestEditor::TestEditor(Workspace &ws) : m_ws(ws) {}

int TestEditor::questionCount() const
{
    return std::clamp(m_ws.test.header.questionCount, 0, kMaxQuestions);
}

QString TestEditor::labelFor(int k) const
{
    const QString &text = m_ws.test.question(k).text;
    if (m_ws.settings.ng && !text.isEmpty())
        return text.left(55);
    return u"Pytanie nr "_s + QString::number(k);
}

// --- Enabling -----------------------------------------------------------------------------------

bool TestEditor::canAddQuestion() const
{
    return headerEntered && questionCount() < kMaxQuestions;
}

bool TestEditor::canImportByKey() const
{
    return questionCount() < kMaxQuestions;
}

bool TestEditor::questionSelected() const
{
    return m_selected >= 1 && m_selected <= questionCount();
}

bool TestEditor::canMoveUp() const
{
    return questionSelected() && m_selected > 1;
}

bool TestEditor::canMoveDown() const
{
    return questionSelected() && m_selected < questionCount();
}

bool TestEditor::savingAllowed() const
{
    return m_ws.workMode == WorkTest;
}

bool TestEditor::canSave() const
{
    return savingAllowed() && modified;
}

bool TestEditor::canRemoveText() const
{
    return questionSelected() && !m_ws.test.question(m_selected).textName.isEmpty();
}

bool TestEditor::canRemoveImage() const
{
    return questionSelected() && !m_ws.test.question(m_selected).imageName.isEmpty();
}

// --- Outline ------------------------------------------------------------------------------------

void TestEditor::rebuildOutline()
{
    m_outline.clear();
    m_outline.append({u"Dane ogólne"_s, headerEntered});
    for (int k = 1; k <= questionCount(); ++k)
        m_outline.append({labelFor(k), m_ws.test.question(k).unfinished == 0});
    m_selected = std::clamp(m_selected, 0, questionCount());
}

void TestEditor::setNodeLabel(int k, const QString &text)
{
    if (k >= 1 && k < m_outline.size())
        m_outline[k].label = text;
}

void TestEditor::setNodeMark(int k)
{
    if (k >= 0 && k < m_outline.size())
        m_outline[k].done = k == 0 ? headerEntered : m_ws.test.question(k).unfinished == 0;
}

QPoint TestEditor::contextMenuPosition(QPoint pointer, int outlineLeft) const
{
    QPoint at = pointer;
    if (m_selected > 17)
        at.ry() -= 150;
    if (pointer.x() - outlineLeft > 200)
        at.rx() -= 150;
    return at;
}

// --- Entry points -------------------------------------------------------------------------------

void TestEditor::newTest()
{
    testFile.clear();
    m_lock.release();
    m_ws.test.resetTest();
    if (m_ws.workingTest)
        DeleteAllMembers(*m_ws.workingTest);
    if (m_ws.workingQuestion)
        DeleteAllMembers(*m_ws.workingQuestion);
    m_ws.lastAttachments.clear();
    headerEntered = false;
    modified = false;
    m_selected = 0;
    m_ws.workMode = WorkTest;
    rebuildOutline();
}

bool TestEditor::openTestAsk()
{
    FileDialogRequest r = testRequest(u"Wskaż plik testu"_s);
    r.defaultExtension.clear();
    const QString path = m_ws.prompts ? m_ws.prompts->openFileName(r) : QString();
    if (path.isEmpty())
        return false;
    return openTest(path);
}

bool TestEditor::openTest(const QString &path)
{
    // Another program editing the same file would lose one of the two saves.
    if (m_lock.lock(path) == DocumentLock::Result::InUse) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, DocumentLock::inUseMessage(path));
        return false;
    }
    if (!ReadTestDocument(m_ws, path)) {
        m_lock.release();
        return false;
    }
    TestHeader &h = m_ws.test.header;
    // No window can show another answer count or choice type: the file is damaged.
    if (h.answerCount < 3 || h.answerCount > 5 || (h.multipleChoice != 0 && h.multipleChoice != 1)) {
        m_ws.logEvent(0, u"Odczyt. Nieprawidłowa liczba odpowiedzi lub typ testu."_s);
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, kDamaged);
        m_ws.test.resetTest();
        m_lock.release();
        return false;
    }
    // Time and thresholds are kept as the header window can show them, so a save writes what it showed.
    TestInfo::bringIntoRange(h);
    if (m_ws.test.questionsLeftOut > 0) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Plik testu zawiera więcej niż 45 pytań.\rWczytano pierwsze 45, pominięto "_s +
                             QString::number(m_ws.test.questionsLeftOut) + u"."_s);
    }
    testFile = path;
    m_ws.lastAttachments.clear();
    headerEntered = true;
    m_ws.workMode = WorkTest;
    m_selected = 0;
    modified = false;
    rebuildOutline();
    return true;
}

// --- Commands -----------------------------------------------------------------------------------

void TestEditor::select(int node)
{
    if (node >= 0 && node <= questionCount())
        m_selected = node;
}

void TestEditor::changed()
{
    modified = true;
    ++m_revision;
}

bool TestEditor::newQuestion()
{
    if (!canAddQuestion())
        return false;
    const int k = questionCount() + 1;
    m_ws.test.blankQuestion(k);
    m_ws.test.header.questionCount = k;
    m_outline.append({labelFor(k), false});
    m_selected = k;
    changed();
    if (m_ws.settings.dfe) {
        if (windows.editQuestion)
            windows.editQuestion(k);
    } else if (windows.clearAnswerMarks) {
        windows.clearAnswerMarks();
    }
    return true;
}

bool TestEditor::importQuestion(bool byKey)
{
    if (byKey ? !canImportByKey() : !canAddQuestion())
        return false;
    const QString path =
        m_ws.prompts ? m_ws.prompts->openFileName(QuestionMessages::openRequest()) : QString();
    if (path.isEmpty())
        return false;
    m_ws.question.resetSingleQuestion();
    m_ws.question.filePath = path;
    m_ws.question.fileName = QFileInfo(path).fileName();
    bool reported = false;
    if (!ReadQuestionDocument(m_ws, path, &reported)) {
        if (!reported)
            m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, QuestionMessages::unreadable());
        return false;
    }
    if (windows.questionInfo)
        windows.questionInfo();
    return true;
}

void TestEditor::questionAppended(int k)
{
    rebuildOutline();
    select(k);
    changed();
}

bool TestEditor::deleteQuestion(int k)
{
    const int count = questionCount();
    if (k < 1 || k > count)
        return false;
    if (m_ws.settings.al && m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                                             kAskDelete) != MessageResult::Yes)
        return false;
    for (int i = k; i < count; ++i)
        m_ws.test.question(i) = std::move(m_ws.test.question(i + 1));
    m_ws.test.blankQuestion(count);
    m_ws.test.header.questionCount = count - 1;
    const int remaining = count - 1;
    m_selected = remaining == 0 ? 0 : (k > 1 ? k - 1 : 1);
    rebuildOutline();
    changed();
    return true;
}

void TestEditor::deleteSelected()
{
    if (questionSelected())
        deleteQuestion(m_selected);
}

void TestEditor::preview()
{
    if (questionSelected() && windows.properties)
        windows.properties(m_selected);
}

void TestEditor::moveUp()
{
    if (!canMoveUp())
        return;
    const int k = m_selected;
    std::swap(m_ws.test.question(k - 1), m_ws.test.question(k));
    std::swap(m_outline[k - 1], m_outline[k]);
    setNodeMark(k - 1);
    setNodeMark(k);
    // Labels that name the number follow the place, not the question.
    m_outline[k - 1].label = labelFor(k - 1);
    m_outline[k].label = labelFor(k);
    m_selected = k - 1;
    changed();
}

void TestEditor::moveDown()
{
    if (!canMoveDown())
        return;
    ++m_selected;
    moveUp();
    ++m_selected;
}

void TestEditor::openSelected()
{
    if (m_selected == 0) {
        if (windows.testInfo)
            windows.testInfo();
    } else if (questionSelected() && windows.editQuestion) {
        windows.editQuestion(m_selected);
    }
}

void TestEditor::headerAccepted()
{
    headerEntered = true;
    setNodeMark(0);
    changed();
}

QString TestEditor::askTestName(const QString &title)
{
    FileDialogRequest r = testRequest(title);
    r.fileName = testFile;
    return m_ws.prompts ? m_ws.prompts->saveFileName(r) : QString();
}

void TestEditor::showClock(QPoint offset)
{
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(where.x() + offset.x(), where.y() + offset.y());
}

bool TestEditor::writeTo(const QString &path)
{
    // A failed write keeps the changes marked: the writer has told the user, nothing is lost.
    if (!WriteTestDocument(m_ws, path))
        return false;
    modified = false;
    return true;
}

bool TestEditor::save()
{
    if (!savingAllowed())
        return false;
    QString path = testFile;
    if (path.isEmpty()) {
        path = askTestName(u"Zapisz jako ..."_s);
        if (path.isEmpty())
            return false;
    }
    if (!writeTo(path))
        return false;
    if (path != testFile)
        m_lock.lock(path);
    testFile = path;
    m_ws.logEvent(4, u"Zapisano plik testu."_s);
    showClock(kClockOffset);
    return true;
}

bool TestEditor::saveAs(bool byKey)
{
    if (!savingAllowed())
        return false;
    const QString path = askTestName(u"Zapisz jako ..."_s);
    if (path.isEmpty() || !writeTo(path))
        return false;
    if (path != testFile)
        m_lock.lock(path);
    testFile = path;
    if (byKey) {
        showClock(kKeyClockOffset);
    } else {
        m_ws.logEvent(4, u"Zapisano plik testu jako."_s);
        showClock(kClockOffset);
    }
    return true;
}

bool TestEditor::saveQuestionAs(int k)
{
    if (k < 1 || k > questionCount() || !m_ws.workingTest)
        return false;
    const QString path =
        m_ws.prompts ? m_ws.prompts->saveFileName(QuestionMessages::saveAsRequest()) : QString();
    if (path.isEmpty())
        return false;
    return CopyTestQuestion(m_ws, k) && WriteQuestionDocument(m_ws, path, *m_ws.workingTest);
}

bool TestEditor::saveSelectedQuestionAs()
{
    if (!savingAllowed() || !questionSelected() || !saveQuestionAs(m_selected))
        return false;
    showClock(kClockOffset);
    return true;
}

void TestEditor::removeAttachedText()
{
    if (!canRemoveText())
        return;
    Question &q = m_ws.test.question(m_selected);
    q.textName.clear();
    q.textSource.clear();
    changed();
}

void TestEditor::removeAttachedImage()
{
    if (!canRemoveImage())
        return;
    Question &q = m_ws.test.question(m_selected);
    q.imageName.clear();
    q.imageSource.clear();
    changed();
}

void TestEditor::print()
{
    if (windows.print && questionCount() > 0)
        windows.print();
}

void TestEditor::gradeSheets()
{
    if (windows.grade && questionCount() > 0)
        windows.grade();
}

void TestEditor::importQuestions()
{
    if (!canAddQuestion())
        return;
    const int before = questionCount();
    if (QuestionImport::run(m_ws).appended > 0 && questionCount() > before)
        questionAppended(questionCount());
}

TestEditor::Outcome TestEditor::close()
{
    if (modified && m_ws.workMode == WorkTest) {
        switch (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon, kAskSave)) {
        case MessageResult::Yes:
            if (!save())
                return Outcome::StayOpen;
            break;
        case MessageResult::No:
            break;
        default:
            return Outcome::StayOpen;
        }
    }
    modified = false;
    m_ws.workMode = WorkNothing;
    m_lock.release();
    return Outcome::Close;
}

bool TestEditor::writeRecoveryCopy(const QString &path)
{
    // Silent: a copy that fails is tried again at the next round.
    Prompts *prompts = std::exchange(m_ws.prompts, nullptr);
    const bool written = WriteTestDocument(m_ws, path);
    m_ws.prompts = prompts;
    return written;
}

bool TestEditor::openRecoveryCopy(const QString &copy, const QString &original)
{
    if (!openTest(copy))
        return false;
    testFile = original;
    if (original.isEmpty())
        m_lock.release();
    else if (m_lock.lock(original) == DocumentLock::Result::InUse)
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         DocumentLock::inUseMessage(original));
    changed();
    return true;
}
