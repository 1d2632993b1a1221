#pragma once

#include "core/TestModel.h"
#include "storage/DocumentLock.h"

#include <QPoint>
#include <QString>

#include <array>

class TestEditorLink;
class Workspace;

// The question editor without its widgets: which question is edited and how (in a test or as a single
// question), the fields as the window shows them, the popup, and every command. The window TFPytanie
// forwards each edit and command here and refills itself from `fields` and the layout queries.
//
// In a test (WorkMode 1) the question is record k of the test model; the marks change the record at
// once, the texts only on accepting. As a single question (WorkMode 2) it is the workspace's
// SingleQuestion, written as a question document on saving.
class QuestionEditor {
public:
    enum class EditMode { InTest, NewSingle, OpenedSingle };
    enum class PopupKind { None, Type, Count };
    enum class Outcome { StayOpen, Close };

    // The window's fields as shown: MTekst, EOdp1..EOdp5, EPodpowiedz and the two groups of marks.
    struct Fields {
        QString text;
        std::array<QString, kMaxAnswers> answers;
        QString comment;
        int radio = 0; // ROdp1..ROdp5: the selected one, 0 for none
        std::array<bool, kMaxAnswers> checked{};
    };

    // The attachment fields of the question being edited, whichever record it is.
    struct AttachmentFields {
        QString &textName;
        QString &textSource;
        QString &imageName;
        QString &imageSource;
    };

    explicit QuestionEditor(Workspace &ws);

    Workspace &workspace() const { return m_ws; }
    void setTestEditor(TestEditorLink *link) { m_test = link; }
    TestEditorLink *testEditor() const { return m_test; }

    // The window's top left corner on the screen: the clock and the dialogs stand relative to it.
    QPoint position;

    Fields fields;
    // The single question has unsaved changes (test questions are tracked by the test editor).
    bool questionModified = false;
    PopupKind popupKind = PopupKind::None;

    EditMode editMode() const { return m_editMode; }
    // WorkMode 1: question k of the open test.
    bool inTest() const;
    int questionNumber() const { return m_k; }
    // The test's while in a test, the single question's otherwise.
    int answerCount() const;
    int multipleChoice() const;
    // Only a new single question may change its choice type and answer count.
    bool typeAndCountEditable() const { return m_editMode == EditMode::NewSingle; }

    // --- Entry points. Each prepares the fields; the window then shows them.
    // The body of editTestQuestion (k), 1 <= k <= questionCount; false for a k outside the test.
    bool fillFromTest(int k);
    // Unchecks all ten marks without touching any record.
    void clearAnswerMarks();
    void newSingleQuestion();
    // Asks for the file; false when cancelled or not read (the window then does not open).
    bool openSingleQuestion();
    bool openSingleQuestionFile(const QString &path);
    // The fields from SingleQuestion; clears questionModified.
    void fillFromSingle();

    // --- Edits by the user.
    void setText(const QString &text);
    void setAnswer(int i, const QString &text); // 1..5
    void setComment(const QString &text);
    // The mark handlers: radio i selected, box i checked or unchecked (1..5).
    void selectRadio(int i);
    void setChecked(int i, bool checked);
    // Ctrl+1..Ctrl+4: answer n becomes the correct one of a single-choice question.
    void selectAnswerByKey(int n);

    // --- The type and count popup.
    // A click on LJednokrotny (Type) or LIleOdpowiedzi (Count): closes an open popup, opens a closed one
    // in NewSingle only.
    void togglePopup(PopupKind kind);
    void closePopup() { popupKind = PopupKind::None; }
    // The popup's item `index` (0-based) was chosen.
    void choosePopupItem(int index);
    // The popup's items, in order.
    QStringList popupItems() const;

    // --- Checks.
    bool isComplete() const;
    // Counts the marks of the answers shown only.
    bool hasCorrectMark() const;
    // The mask the marks stand for, as on accepting: five "1"/"0" for multiple choice; one "1" for
    // single choice ("00001" when none of radios 1 to 4 is selected). Marks of hidden answers are
    // "0" (a single choice marked on a hidden answer gives "00000").
    QString maskFromMarks() const;

    // --- Commands.
    // LWprowadz and Enter in a test.
    Outcome commitTestQuestion();
    // LZapiszPytanieSolo, Ctrl+S: writes filePath, asking for a name when there is none.
    bool saveSingleQuestion();
    // LZapiszJako, Ctrl+J (also in a test, where it writes the question as shown).
    bool saveSingleQuestionAs();
    // LZapiszPytanieSoloZTestu: question k as stored in the test.
    void saveTestQuestionAsSingle();
    // Esc and LZamknijPytanieSolo; in a test Esc is LAnuluj.
    Outcome closeQuestion();
    // LAnuluj (and Esc) in a test: record k is left as it was when the window opened, marks included.
    void cancelTestQuestion();
    // LNastepnePytanieSolo.
    void nextQuestion();
    // The window closed: the file it held is free again.
    void releaseFile() { m_lock.release(); }
    // What closing the window now would lose: the single question's changes, or what was typed and
    // marked in a test question since it was opened and not yet accepted.
    bool unsavedWork() const { return questionModified || m_testQuestionEdited; }
    void windowClosed()
    {
        releaseFile();
        m_testQuestionEdited = false;
    }
    // The window could not be shown for what was prepared: the file is free again and a single
    // question's work mode ends, as on closing.
    void notOpened();

    // --- For the attachment dialogs and the properties view.
    AttachmentFields attachments();
    // An attachment changed: the test is marked changed (modified flag and save button), or the single
    // question modified.
    void markChanged();

    // --- Recovery of unsaved work.
    // Grows with every change of the single question; a recovery copy is due when it moved.
    int revision() const { return m_revision; }
    // Writes the single question as shown to `path`, silently; false when not written.
    bool writeRecoveryCopy(const QString &path);
    // Fills the editor from a recovery copy: modified, and saving writes `original`.
    bool openRecoveryCopy(const QString &copy, const QString &original);

    // The three label captions.
    static QString typeCaption(int multipleChoice);
    static QString countCaption(int answerCount);

private:
    // The record the marks change: question k in a test, the single question otherwise.
    QString &recordMask();
    void applyMarksFromMask(const QString &mask);
    // A text or a mark changed by the user.
    void userEdited();
    // The single question changed.
    void touch();
    // What becomes of the window's fields copied into a question record.
    enum class ShownCopy {
        Saved,         // normalised; no answer above the count (hidden texts stay in the window only)
        SavedFromTest, // normalised; answers above the test's count stay as the record had them
        Recovery,      // as typed, every answer field, hidden ones too
    };
    // The question text, the answers shown, the comment and the mask the marks stand for, into q (a
    // test's Question or the SingleQuestion).
    template <typename Record> void copyShown(Record &q, ShownCopy copy) const;
    // Brings the window's texts and marks into SingleQuestion (normalised) and writes it; asks for a
    // name when `askName` or when there is no file yet. A chosen name becomes filePath.
    bool writeSingle(bool askName);
    // Files chosen on disk join workingQuestion and workingQuestionAs and lose their source paths;
    // false (told, naming the file) when one cannot be read.
    bool adoptDiskAttachments();
    // A question without attachments starts with empty working copies.
    void emptyWorkingCopies();
    bool writeTestQuestionAsShown();
    bool saveWithClock(bool askName);
    void showClock();

    Workspace &m_ws;
    TestEditorLink *m_test = nullptr;
    EditMode m_editMode = EditMode::NewSingle;
    int m_k = 0;
    int m_revision = 0;
    bool m_testQuestionEdited = false;
    // Record k's mask when the window opened on it: what cancel restores.
    QString m_maskAtOpen;
    // The question file open here, held against other programs' saves.
    DocumentLock m_lock;
};
