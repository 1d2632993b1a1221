#pragma once

#include "question/AttachmentCommands.h"
#include "toolkit/SkinnedWindow.h"

#include <QImage>

class LabelButton;
class PictureButton;
class QLabel;
class QuestionEditor;
class Workspace;

// What the text and the image attachment dialogs share: the four command labels on the left, the
// preview on the right, the list panel laid over it, the cancel button, the keys, and a background
// for a question of a test and one for a single question. The commands live in AttachmentCommands;
// the dialog forwards the clicks and closes when a command says so.
class TFWstaw : public SkinnedWindow {
    Q_OBJECT

public:
    // Fills the dialog for the question the editor holds and shows it modally at the question
    // editor's left + 120, top + 20; returns when it closes.
    void run();
    // Fills the dialog without showing it.
    void prepare();

    const AttachmentCommands &commands() const { return m_commands; }
    QWidget *listPanel() const { return m_listPanel; }
    bool showsSingleQuestionSkin() const { return m_solo; }

protected:
    // The labels' names and captions: new, last-used, list, remove; and the two skins' names.
    struct Captions {
        const char16_t *names[4];
        const char16_t *texts[4];
        const char16_t *tips[4];
        const char16_t *soloSkin;
        const char16_t *cancelName;
    };
    TFWstaw(QuestionEditor &editor, AttachmentCommands::Kind kind, const QString &skinName,
            const QString &helpPage, const Captions &captions, QWidget *parent);

    // The dialog's own part of showing the commands' state (preview, list).
    virtual void showKindState() = 0;
    // Shows the state of the commands: enabling, preview, list panel.
    void showState();
    void finish(AttachmentCommands::Outcome outcome);

    void paintEvent(QPaintEvent *event) override;
    bool cancelKey() override;
    void mousePressEvent(QMouseEvent *event) override;

    QuestionEditor &m_editor;
    Workspace &m_ws;
    AttachmentCommands m_commands;
    LabelButton *m_new;
    LabelButton *m_last;
    LabelButton *m_list;
    LabelButton *m_remove;
    PictureButton *m_cancel;
    QWidget *m_listPanel;
    QImage m_soloSkin;
    bool m_solo = false;
};
