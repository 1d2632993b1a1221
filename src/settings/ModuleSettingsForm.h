#pragma once

#include "settings/ModuleSettings.h"

#include <QString>

class Workspace;

// The module settings window without its widgets: the panel shown (testing or learning module), the
// values of both panels, the file each was read from, one modified flag per panel, and the save,
// close and path-picking commands. The window FIniTesty forwards every click here.
class ModuleSettingsForm {
public:
    enum class Panel { Testing, Learning };
    enum class Outcome { StayOpen, Close };

    explicit ModuleSettingsForm(Workspace &ws) : m_ws(ws) {}

    Panel panel = Panel::Testing;
    TestingModuleSettings testing;
    LearningModuleSettings learning;
    QString testingPath;  // empty for a new file
    QString learningPath; // empty for a new file
    bool testingModified = false;
    bool learningModified = false;

    // A new file of the kind, WorkMode 6 or 7. The thresholds stay as last shown in the window.
    void newTestSettings();
    void newLearningSettings();
    // Asks for a file and reads it by its header; true when the window is to open (on the panel read).
    bool openModuleSettings();
    bool openFile(const QString &path);

    // --- Edits by the user; each marks its panel modified.
    void setTestingFlag(bool TestingModuleSettings::*flag, bool on);
    void setTestingText(QString TestingModuleSettings::*field, const QString &text);
    // Threshold i (0 celujący .. 4 dopuszczający) one step up or down within 10..99.
    void stepThreshold(int i, int direction);
    void setLearningFlag(bool LearningModuleSettings::*flag, bool on);
    void setLearningPath(const QString &text);
    // LFolderTesty, LFolderListy, LScListaNauka: a chosen file's full path replaces the field.
    void pickTestList();
    void pickStudentList();
    void pickSetList();

    bool modified() const { return panel == Panel::Testing ? testingModified : learningModified; }
    // celujący > bardzo dobry > dobry > dostateczny > dopuszczający.
    bool thresholdsFall() const;

    // LZapiszIni: the testing panel's thresholds must fall; then the file is saved.
    Outcome saveCommand(int mainLeft, int mainTop);
    // LCloseIni: asks when the shown panel is modified; Yes saves (the same threshold check as
    // LZapiszIni) and closes only when the file was written.
    Outcome close(int mainLeft, int mainTop);
    // The window has closed, for whatever reason: changes not saved by then are dropped.
    void windowClosed() { testingModified = learningModified = false; }

    // --- Recovery of unsaved work.
    // Moves with every change; a recovery copy is due when it moved.
    int revision() const { return m_revision; }
    // The shown panel's file as it stands, written to `copy` without a word to the user or the log.
    bool writeRecoveryCopy(const QString &copy) const;
    // A copy read by its header into its panel, modified; saving writes `original` (empty: asks).
    bool openRecoveryCopy(const QString &copy, const QString &original);

private:
    bool checkThresholds();
    bool save(int mainLeft, int mainTop);
    void changed(bool &panelModified);

    Workspace &m_ws;
    bool m_saveDialogUsed = false;
    int m_revision = 0;
};
