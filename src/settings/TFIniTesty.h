#pragma once

#include "settings/ModuleSettingsForm.h"
#include "toolkit/SkinnedWindow.h"

#include <QHash>
#include <QList>
#include <array>
#include <utility>

class LabelButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class Workspace;

// The module settings window: one panel for the testing module's file (Test.ini) and one for the
// learning module's (Nauka.ini), of which one is shown, with a note explaining the control under the
// mouse. The values and the rules live in ModuleSettingsForm; the window shows them and forwards
// every click and edit.
class TFIniTesty : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFIniTesty(Workspace &ws, QWidget *parent = nullptr);

    ModuleSettingsForm &form() { return m_form; }

    // "Nowy plik Test.ini", "Nowy plik Nauka.ini", "Otwórz plik ini ...": each shows the window
    // modally until it is closed.
    void newTestSettings();
    void newLearningSettings();
    void openModuleSettings();
    // Unsaved settings of a crashed run, shown modified on their panel; saving writes `original`.
    void openRecoveryCopy(const QString &copy, const QString &original);
    // The shown panel's changes, while the window is open.
    bool holdsUnsavedWork() const { return isVisible() && m_form.modified(); }

    // The panel and the controls from the form, without counting as the user's edits.
    void showValues();
    // The shown panel's note (line breaks as "\n").
    QString helpText() const;
    void closeWindow() override;

protected:
    void enterEvent(QEnterEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createTestingPanel();
    QWidget *createLearningPanel();
    QCheckBox *addTestingOption(QWidget *panel, const QString &name, const QString &caption,
                                bool TestingModuleSettings::*flag, int row, const char16_t *help);
    QCheckBox *addLearningOption(QWidget *panel, const QString &name, const QString &caption,
                                 bool LearningModuleSettings::*flag, int row, const char16_t *help);
    void setHelp(QWidget *control, const char16_t *text);
    void runModal();
    void save();

    Workspace &m_ws;
    ModuleSettingsForm m_form;
    bool m_filling = false;

    QWidget *m_testingPanel;
    QWidget *m_learningPanel;
    QLabel *m_testingHelp;
    QLabel *m_learningHelp;
    QLineEdit *m_testList;
    QLineEdit *m_studentList;
    QLineEdit *m_setList;
    QList<std::pair<QCheckBox *, bool TestingModuleSettings::*>> m_testingFlags;
    QList<std::pair<QCheckBox *, bool LearningModuleSettings::*>> m_learningFlags;
    std::array<QLineEdit *, 5> m_thresholds{};
    QHash<QObject *, QString> m_helpTexts;
    LabelButton *m_save;
    LabelButton *m_close;
};
