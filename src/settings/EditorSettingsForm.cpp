#include "settings/EditorSettingsForm.h"

#include "core/Workspace.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void EditorSettingsForm::fill()
{
    values = m_ws.settings;
    // A file edited by hand may hold what the controls cannot show; the form holds what they show, so a
    // save writes back what the user saw.
    values.dft = std::clamp(values.dft, 0, 300);
    values.sk = values.sk == 1 ? 1 : 0;
    if (values.zdz < EditorSettings::ShrinkAsk || values.zdz > EditorSettings::ShrinkNever)
        values.zdz = EditorSettings::ShrinkAsk;
    for (int EditorSettings::*threshold : {&EditorSettings::cel, &EditorSettings::bdb, &EditorSettings::db,
                                           &EditorSettings::dst, &EditorSettings::dp})
        values.*threshold = std::clamp(values.*threshold, 10, 99);
    modified = false;
}

void EditorSettingsForm::setFlag(bool EditorSettings::*flag, bool on)
{
    values.*flag = on;
    modified = true;
}

void EditorSettingsForm::stepTime(int direction)
{
    values.dft = std::clamp(values.dft + 5 * direction, 0, 300);
    modified = true;
}

// The scale and the thresholds count as changes too: leaving without a question would drop them.
void EditorSettingsForm::setScale(bool on)
{
    values.sk = on ? 1 : 0;
    modified = true;
}

void EditorSettingsForm::setShrinking(int choice)
{
    if (choice < EditorSettings::ShrinkAsk || choice > EditorSettings::ShrinkNever)
        return;
    values.zdz = choice;
    modified = true;
}

void EditorSettingsForm::stepThreshold(int EditorSettings::*threshold, int direction)
{
    values.*threshold = std::clamp(values.*threshold + direction, 10, 99);
    modified = true;
}

bool EditorSettingsForm::takeValues()
{
    const EditorSettings &v = values;
    if (!(v.cel > v.bdb && v.bdb > v.db && v.db > v.dst && v.dst > v.dp)) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, u"Ustaw poprawnie progi punktowe."_s);
        return false;
    }
    // The window mode and the log filter are not on the form: keep the ones in force.
    EditorSettings taken = v;
    taken.wo = m_ws.settings.wo;
    taken.dfpz = m_ws.settings.dfpz;
    m_ws.settings = taken;
    return true;
}

EditorSettingsForm::Outcome EditorSettingsForm::save(int mainLeft, int mainTop)
{
    if (m_ws.workMode != WorkEditorSettings || !takeValues())
        return Outcome::StayOpen;
    if (!SaveEditorSettings(m_ws)) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wystąpiły problemy z zapisaniem zmian.Brak możliwości zapisu w wybranym miejscu."_s);
        return Outcome::StayOpen;
    }
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(mainLeft + 200, mainTop + 150);
    modified = false;
    return Outcome::Close;
}

EditorSettingsForm::Outcome EditorSettingsForm::cancel(int mainLeft, int mainTop)
{
    if (!modified)
        return Outcome::Close;
    switch (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::InfoIcon,
                             u"Zmieniono ustawienia. Czy zapisać zmiany?"_s)) {
    case MessageResult::Yes:
        return save(mainLeft, mainTop);
    case MessageResult::No:
        LoadEditorSettings(m_ws);
        modified = false;
        return Outcome::Close;
    default:
        return Outcome::StayOpen;
    }
}
