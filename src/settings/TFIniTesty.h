#pragma once

#include "settings/ModuleSettingsForm.h"
#include "toolkit/SkinnedWindow.h"

#include <QHash>
#include <QList>
#include <array>
#include <span>
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

    // The rows the panels are built from.
    struct PathRow {
        const char16_t *caption;
        int captionWidth;
        const char16_t *field;
        const char16_t *pick;
        int top;
        const char16_t *help;
        void (*set)(ModuleSettingsForm &form, const QString &text);
        const QString &(*value)(const ModuleSettingsForm &form);
        void (ModuleSettingsForm::*pickCommand)();
    };
    template <typename Settings> struct OptionRow {
        const char16_t *name;
        const char16_t *caption;
        bool Settings::*flag;
        const char16_t *help;
    };

protected:
    void enterEvent(QEnterEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createTestingPanel();
    QWidget *createLearningPanel();
    QWidget *createPanel(const QString &name, const QString &heading);
    void addPathRow(QWidget *panel, const PathRow &row);
    template <typename Settings>
    void addOptions(QWidget *panel, int top, std::span<const OptionRow<Settings>> rows,
                    QList<std::pair<QCheckBox *, bool Settings::*>> &flags,
                    void (ModuleSettingsForm::*set)(bool Settings::*, bool));
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
    QList<std::pair<QLineEdit *, const QString &(*)(const ModuleSettingsForm &)>> m_paths;
    QList<std::pair<QCheckBox *, bool TestingModuleSettings::*>> m_testingFlags;
    QList<std::pair<QCheckBox *, bool LearningModuleSettings::*>> m_learningFlags;
    std::array<QLineEdit *, 5> m_thresholds{};
    QHash<QObject *, QString> m_helpTexts;
    LabelButton *m_save;
    LabelButton *m_close;
};
