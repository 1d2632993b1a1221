#pragma once

#include "toolkit/SkinnedWindow.h"

class LabelButton;
class QComboBox;
class QPlainTextEdit;
class Workspace;

// The log window: the filter level, the whole log file and the command that empties it. Choosing a
// level stores it at once; what is typed into the view is never saved (the view is read-only).
class TFZdarzenia : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFZdarzenia(Workspace &ws, QWidget *parent = nullptr);

    // Alt+U in the main window: fills the window and shows it modally at the main window's left + 100,
    // top + 37. A log that cannot be read (or does not exist) gets a message instead of the window.
    static void showLogWindow(Workspace &ws, QWidget *mainWindow);

    // Selects the filter level in force and loads the log into the view; false, after the message,
    // when the log cannot be read.
    bool prepare();
    // prepare(), then the window modally at its place; returns when it is closed.
    void run();

    // ButListaPlikow: opens the level list when it is closed and closes it when it is open.
    void toggleLevelList();
    bool levelListOpen() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void levelChosen(int index);
    void clearLog();

    Workspace &m_ws;
    QComboBox *m_levels;
    LabelButton *m_levelButton;
    QPlainTextEdit *m_text;
    LabelButton *m_clear;
    LabelButton *m_close;
    LabelButton *m_closeLabel;
};
