#pragma once

#include "core/EditorSettings.h"

class Workspace;

// The editor settings dialog without its widgets: the values on screen, the modified flag and the
// save and cancel commands. The window forwards clicks here and refills itself from `values`.
class EditorSettingsForm {
public:
    explicit EditorSettingsForm(Workspace &ws) : m_ws(ws) {}

    // Fills the form from the settings in force, brought within the controls' ranges, and clears the
    // modified flag.
    void fill();

    EditorSettings values;
    bool modified = false;

    // Edits made by the user; each marks the form modified.
    void setFlag(bool EditorSettings::*flag, bool on);
    void stepTime(int direction);                         // +1 / -1: steps of 5 within 0..300
    void setScale(bool on);
    void setShrinking(int choice);                        // EditorSettings::PhotoShrinking
    void stepThreshold(int EditorSettings::*threshold, int direction); // steps of 1 within 10..99

    enum class Outcome { StayOpen, Close };
    // ImZapisz: take the values, write the file, show the clock.
    Outcome save(int mainLeft, int mainTop);
    // ImAnuluj: ask when modified; Yes saves, No rereads the file.
    Outcome cancel(int mainLeft, int mainTop);

private:
    bool takeValues();

    Workspace &m_ws;
};
