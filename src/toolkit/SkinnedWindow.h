#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class LabelButton;

// The base of every editor and dialog: a frameless, stay-on-top, application-modal window painted
// from its skin picture and sized by it. It is dragged by its title strip (LListwa), swallows Alt+F4,
// and opens its help page on F1. Plain Enter and Esc, in the window or any of its fields, go to
// acceptKey() and cancelKey(); other keys to commandKey() before the field has them. The application's
// key filter (TabFilter) hands Tab presses to tabPressed() instead of moving the focus, and a field's
// keys to the window first.
//
// A window derives from it, creates its controls at the places of SkinGeometry, calls
// addDragStrip() once, declares the order its fields are walked with the arrow keys
// (setFocusChain()), and shows itself with exec() after placeAt()/centreOnScreen().
//
// Every program window takes file drops: the windows are application-modal, so while one is open Qt
// gives no drop to the main window. Drops and F1 go to the program's hooks, which the application
// sets once; without them (a window tested alone) drops are refused and F1 opens the page beside
// the executable.
class SkinnedWindow : public QDialog {
    Q_OBJECT

public:
    struct ProgramHooks {
        std::function<void(const QStringList &paths)> dropFiles;
        std::function<void(const QString &page)> openHelpPage;
    };
    static void setProgramHooks(ProgramHooks hooks);

    // skinName: the picture ":/skins/<skinName>.jpg"; helpPage: a page of the Pomoc folder.
    SkinnedWindow(const QString &skinName, const QString &helpPage, QWidget *parent = nullptr);

    const QString &skinName() const { return m_skinName; }
    const QString &helpPage() const { return m_helpPage; }
    bool skinLoaded() const { return !m_skin.isNull(); }
    // Another skin picture, the window taking its size; false (nothing changed) when it cannot be loaded.
    bool setSkin(const QString &skinName);

    // The one placement: callers give the screen position (an offset from the window that opens it).
    void placeAt(QPoint topLeft);
    void centreOnScreen();
    // Cuts each corner off diagonally by `size` pixels.
    void cutCorners(int size);

    QWidget *dragStrip() const { return m_dragStrip; }
    // Off: the strip does nothing (the main window in full-screen mode).
    void setDragEnabled(bool enabled) { m_dragEnabled = enabled; }

    // Shows the window modally; when it closes, the window that had the keyboard gets it back.
    int exec() override;

    // A Tab press anywhere in the window; the application's key filter has taken it away already.
    virtual void tabPressed() {}

    // A key pressed in `field`, one of the window's controls, before the control sees it (the
    // application's key filter hands it over); true when the window took it.
    bool fieldKey(const QKeyEvent *key, const QWidget *field);

    // Where F1 opens the window's page, before the program's hook: a window that talks with the user
    // through its own channel (the workspace's prompts) opens the page there.
    using HelpOpener = std::function<void(const QString &page)>;
    void setHelpOpener(HelpOpener opener) { m_helpOpener = std::move(opener); }

    // Closes the window as its own close command does: an editor leaves its document through its own
    // path (its file freed, its state left). The program runs it on every open window before opening a
    // dropped document, which it does only when nothing would be lost. By default: rejected.
    virtual void closeWindow() { done(QDialog::Rejected); }

    // Down moves the focus to the next field of the chain, Up to the previous one, skipping hidden and
    // disabled ones and wrapping at the ends. Declared once, in the window's field order.
    void setFocusChain(const QList<QWidget *> &fields);
    // Moves the focus `step` (+1/-1) fields along the chain from the focused one; false when the chain
    // has no other field to take it.
    bool moveFocus(int step);

signals:
    // The user dropped the window at a new place.
    void dragFinished(QPoint topLeft);

protected:
    // Creates the title strip LListwa over `area`; the window moves with the mouse dragged on it.
    QWidget *addDragStrip(const QRect &area);
    // The title strip of a dialog with the close label LClose ("×") at its right end; the caller
    // connects the label's clicked().
    LabelButton *addStripWithCloseLabel();
    // A dialog's "Wprowadź  Enter" (named `acceptName`) and "Anuluj  Esc" (LAnuluj) labels: a click
    // does what the key does, acceptKey() and cancelKey().
    void addAcceptCancelLabels(const QString &acceptName, const QRect &acceptArea, const QRect &cancelArea);
    // By default a close request of the window system (Alt+F4, the task bar) is refused; the message
    // box lets it through to answer No.
    void setRefusesCloseRequests(bool refuses) { m_refusesCloseRequests = refuses; }
    // F1: opens the help page.
    virtual void helpRequested();
    // Plain Enter (and the keypad's) and plain Esc, in the window or any field; true when taken, false
    // lets the key go on to the field. By default neither does anything.
    virtual bool acceptKey() { return false; }
    virtual bool cancelKey() { return false; }
    // Any other key, before the field has it (a dialog's F-key commands); true when taken.
    virtual bool commandKey(const QKeyEvent *key);
    // `key` is `k` with no modifier (the keypad's aside).
    static bool isPlain(const QKeyEvent *key, int k);
    // While a hook runs: the field the key was pressed in; null for a key of the window itself.
    const QWidget *keyField() const { return m_keyField; }
    // By default Enter in a text box of several lines is the box's (it breaks the line); on: it is
    // acceptKey()'s there too.
    void setEnterAcceptsInTextBoxes(bool on) { m_enterAcceptsInTextBoxes = on; }
    // The title strip was dragged by `delta`; by default the window follows.
    virtual void dragMovedBy(QPoint delta);

    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The keys every window handles alike; true when taken.
    bool windowKey(const QKeyEvent *key, bool inTextBox);

    QString m_skinName;
    QString m_helpPage;
    QImage m_skin;
    QWidget *m_dragStrip = nullptr;
    bool m_dragEnabled = true;
    bool m_dragging = false;
    QPoint m_dragOffset;
    bool m_refusesCloseRequests = true;
    bool m_enterAcceptsInTextBoxes = false;
    HelpOpener m_helpOpener;
    const QWidget *m_keyField = nullptr;
    QList<QPointer<QWidget>> m_focusChain;
};
