#pragma once

#include "question/QuestionEditor.h"
#include "toolkit/SkinnedWindow.h"

#include <QPointer>

#include <array>
#include <functional>

class LabelButton;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class Workspace;

// The question editor window: the question text, three to five answers with their marks, the comment,
// the type and count labels with their popup, and the commands of a test question or of a single
// question. The behaviour is QuestionEditor's; the window shows its fields and forwards every edit,
// click and key.
class TFPytanie : public SkinnedWindow {
    Q_OBJECT

public:
    // mainWindow: where a single question stands and what moves with the editor in window mode 0.
    TFPytanie(Workspace &ws, QWidget *mainWindow, QWidget *parent = nullptr);
    ~TFPytanie() override;

    QuestionEditor &editor() { return m_editor; }

    // The test editor: its side of a test question and its window (placement, the group drag).
    void setTestEditor(TestEditorLink *link, QWidget *window);
    // The dialogs the editor opens: text and image attachments, properties. Each gets the editor and
    // returns when closed; the window then shows the record's state again.
    struct Dialogs {
        std::function<void(QuestionEditor &)> textAttachment;
        std::function<void(QuestionEditor &)> imageAttachment;
        std::function<void(QuestionEditor &)> properties;
    };
    void setDialogs(Dialogs dialogs) { m_dialogs = std::move(dialogs); }

    // --- Entry points, each showing the window modally until it closes.
    // False when the window could not open (artwork missing, or no such question).
    bool editTestQuestion(int k);
    void clearAnswerMarks();
    void newSingleQuestion();
    void openSingleQuestion();
    void openSingleQuestionFile(const QString &path);
    // Unsaved work of a crashed run: the copy shown modified, saving to `original`.
    void openRecoveryCopy(const QString &copy, const QString &original);

    // The window filled for question k of the test, or for a new single question, without showing it
    // (what the entry points do before they show the window); false when it must not open.
    bool prepareTestQuestion(int k);
    bool prepareNewSingleQuestion();

    // The fields, marks, captions and background for n answers and choice type m (0 single,
    // 1 multiple); false (reported) when the artwork for n cannot be loaded.
    bool applyLayout(int n, int m);
    int shownAnswerCount() const { return m_shownCount; }
    // The editor's state shown again: layout, fields and marks (after the editor changed it directly).
    void refresh();
    // What closing the window now would lose.
    bool holdsUnsavedWork() const { return isVisible() && m_editor.unsavedWork(); }
    // LAnuluj in a test, LZamknijPytanieSolo for a single question.
    void closeWindow() override { cancelOrClose(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void dragMovedBy(QPoint delta) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    // The question the editor has prepared, laid out and filled in; false when the layout fails,
    // which the editor is told (the file and the work mode are given back).
    bool showPrepared();
    // Shown until the window closes, when `prepared` and the layout does not fail.
    void openPrepared(bool prepared);
    // The editor's fields into the widgets, without counting as the user's edits.
    void showFields();
    void showMarks();
    void showPopup();
    void showCommands();
    void runModal(QPoint at);
    // A key in a text field or a mark; true when it was one of the editor's.
    bool editorKey(const QKeyEvent *key);
    void accept();
    void cancelOrClose();
    void nextQuestion();
    void popupClicked(QuestionEditor::PopupKind kind);
    void popupItemChosen(int index);
    void openDialog(const std::function<void(QuestionEditor &)> &dialog);
    void showLayoutFailure();

    Workspace &m_ws;
    QuestionEditor m_editor;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_testWindow;
    Dialogs m_dialogs;
    int m_shownCount = 0;
    bool m_filling = false;

    QPlainTextEdit *m_text;
    std::array<QLineEdit *, kMaxAnswers> m_answers{};
    QLineEdit *m_comment;
    QWidget *m_radioPanel;  // POdpPojedyncze
    QWidget *m_checkPanel;  // POdpWielokrotne
    std::array<QRadioButton *, kMaxAnswers> m_radios{};
    std::array<QCheckBox *, kMaxAnswers> m_checks{};
    LabelButton *m_typeLabel;
    LabelButton *m_countLabel;
    QFrame *m_popup; // PMenu
    std::array<LabelButton *, 3> m_popupItems{};
    LabelButton *m_textAttachment;
    LabelButton *m_imageAttachment;
    LabelButton *m_properties;
    QWidget *m_testPanel;   // LWprowadz, LAnuluj, LZapiszPytanieSoloZTestu
    QWidget *m_singlePanel; // PMenuPytanieSolo
    LabelButton *m_accept;
    LabelButton *m_cancel;
    LabelButton *m_saveFromTest;
    LabelButton *m_save;
    LabelButton *m_saveAs;
    LabelButton *m_close;
    LabelButton *m_next;
};
