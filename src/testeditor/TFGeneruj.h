#pragma once

#include "testeditor/SetGeneration.h"
#include "toolkit/SkinnedWindow.h"

class LabelButton;
class PictureButton;
class QLabel;
class QLineEdit;
class QTimer;
class Workspace;

// The set generation window: the test file, the folder, the prefix, and the run that cuts the test
// into question files. The choices and the run live in SetGeneration; the window shows them, asks
// through the prompts and shows the save icon for two seconds after a run that wrote every question.
class TFGeneruj : public SkinnedWindow {
    Q_OBJECT

public:
    TFGeneruj(Workspace &ws, QWidget *parent = nullptr);

    SetGeneration &generation() { return m_gen; }
    // The save icon's time on screen; two seconds unless a test shortens it.
    void setIconDuration(int milliseconds);

    // showGeneration: an empty window, modally, at the main window's left + 110, top + 120.
    void showGeneration();
    // The window emptied as showGeneration does, without showing it.
    void prepare();

    void chooseTest();
    void chooseFolder();
    // ImGeneruj.
    void generate();
    bool iconShown() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showChoices();
    void iconTimedOut();

    Workspace &m_ws;
    SetGeneration m_gen;
    LabelButton *m_testLabel;
    LabelButton *m_folderLabel;
    QLabel *m_testPath;
    QLabel *m_folderPath;
    QLineEdit *m_prefix;
    QWidget *m_generatePanel; // PPodGeneruj
    PictureButton *m_generate;
    PictureButton *m_cancel;
    QLabel *m_icon; // PZapisIkona
    QTimer *m_iconTimer;
};
