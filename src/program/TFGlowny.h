#pragma once

#include "toolkit/SkinnedWindow.h"

#include <QList>
#include <QPixmap>

class DocumentEditors;
class LabelButton;
class MainCommands;
class QLabel;
class TFWinieta;
class Workspace;

// The main window: the command menu of five groups, of which one opens at a time, the description
// panel that explains the command under the mouse, the window buttons and the keys F1, Ctrl+F4 and
// Alt+U. Files dropped on it open by their extension. It is not modal: the editors its commands open
// are.
class TFGlowny : public SkinnedWindow {
    Q_OBJECT

public:
    enum Group {
        NoGroup = 0,
        GroupTesty = 1,
        GroupPytania = 2,
        GroupListy = 3,
        GroupUstawienia = 4,
        GroupPomoc = 5
    };

    TFGlowny(Workspace &ws, MainCommands &commands, DocumentEditors &editors, QWidget *parent = nullptr);
    ~TFGlowny() override;

    // The window "O programie" opens; without one the command does nothing.
    void setAboutWindow(TFWinieta *about) { m_about = about; }

    // Shows the items of group 1..5 under its header; anything else closes every group.
    void openGroup(int group);
    int openGroupNumber() const { return m_group; }
    // "MStart", "MTesty" … "MPomoc".
    QString menuPictureName() const;
    // The hint in LOpisMenu: headline, blank line, paragraph; empty when none is shown.
    const QString &description() const { return m_description; }

    // The help pages' contents page.
    void showHelp();
    void showAbout();
    // The drag strip works in window mode 0 only; LBig shows which mode a click leads to.
    void windowModeChanged();

signals:
    // LBig and Ctrl+F4.
    void windowModeToggleRequested();
    // LClose: the program ends.
    void closeRequested();
    // LMinimize.
    void minimizeRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void helpRequested() override;

private:
    enum class Action { Editor, About, Help, None };
    struct Item {
        LabelButton *label = nullptr;
        int group = NoGroup;
        int workMode = -1; // -1: the command leaves WorkMode as it is
        Action action = Action::None;
        void (DocumentEditors::*run)() = nullptr; // Action::Editor
        bool keepsColours = false; // the test commands do not repaint the items after they return
        QString headline;
        QString paragraph;
    };

    void createMenu();
    void createWindowButtons();
    void runItem(const Item &item);
    void itemHovered(const Item &item);
    // Every item in the normal colour and the description empty.
    void clearHints();
    void paintItemsNormal();
    void setDescription(const QString &headline, const QString &paragraph);

    Workspace &m_ws;
    MainCommands &m_commands;
    DocumentEditors &m_editors;
    TFWinieta *m_about = nullptr;

    QLabel *m_menuPicture;
    QList<QPixmap> m_menuPictures;  // by group, 0 for the start picture
    QList<LabelButton *> m_headers; // by group - 1
    QList<Item> m_items;
    QLabel *m_descriptionLabel;
    QString m_description;
    LabelButton *m_closeButton;
    LabelButton *m_minimizeButton;
    LabelButton *m_bigButton;
    int m_group = NoGroup;
};
