#pragma once

#include "settings/EditorSettingsForm.h"
#include "toolkit/SkinnedWindow.h"

#include <QHash>

class LabelButton;
class PictureButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class UpDown;
class Workspace;

// The editor settings dialog: seven options, what to do with large photos, the default time, the default grading scale with its
// five thresholds, and a note that explains the option under the mouse. The values and the save and
// cancel rules live in EditorSettingsForm; the window shows them and forwards the user's input.
class TFIniEdytor : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFIniEdytor(Workspace &ws, QWidget *parent = nullptr);

    // Fills the controls from the settings in force and clears the modified flag.
    void prepare();
    // "Ustawienia Edytora" in the main window (which sets WorkMode 5 first): prepare(), then the dialog
    // modally at the main window's left + 162, top + 38; returns when it is closed.
    void run();

    const EditorSettingsForm &form() const { return m_form; }
    // Changes on screen that closing now would drop.
    bool holdsUnsavedWork() const { return isVisible() && m_form.modified; }
    // ImAnuluj.
    void closeWindow() override { cancel(); }
    QComboBox *shrinkingChoice() const { return m_shrinking; }
    // The text of LPodpowiedz as shown (line breaks as "\n").
    QString helpText() const;

protected:
    void enterEvent(QEnterEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Threshold {
        int EditorSettings::*key;
        QLineEdit *field;
        UpDown *arrows;
    };

    QCheckBox *addOption(const QString &name, const QString &caption, bool EditorSettings::*flag, int row);
    QLineEdit *addNumberField(const QString &name, const QRect &area);
    void setHelp(QWidget *control, const QString &text);
    void showValues();
    void save();
    void cancel();

    Workspace &m_ws;
    EditorSettingsForm m_form;
    QWidget *m_options;
    QList<std::pair<QCheckBox *, bool EditorSettings::*>> m_flags;
    QComboBox *m_shrinking;
    QLineEdit *m_time;
    UpDown *m_timeArrows;
    QCheckBox *m_scale;
    QList<Threshold> m_thresholds;
    QLabel *m_help;
    QHash<QObject *, QString> m_helpTexts;
    PictureButton *m_save;
    PictureButton *m_cancel;
    LabelButton *m_closeLabel;
};
