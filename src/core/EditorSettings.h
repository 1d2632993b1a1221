#pragma once

#include <QString>

class Workspace;

// The editor's own preferences, kept in Edycja.ini (an XML document with settings-coded values).
struct EditorSettings {
    bool al = true;   // ask before deleting
    bool ng = true;   // changing question headings taken from the text
    bool dfto = true; // new test: three answers
    bool sw = true;   // new test: single choice
    bool clg = true;  // close set generation after a set is made
    bool fn = true;   // first name before surname
    bool dfe = false; // open an inserted question in the editor at once
    int dft = 0;      // default time of a new class
    int sk = 0;       // a new class uses the grading scale
    int cel = 95;
    int bdb = 85;
    int db = 70;
    int dst = 50;
    int dp = 30;
    int wo = 0;       // window mode
    int dfpz = 0;     // event log filter level
    // "zdz", a large photo being attached; a file without the key (an older one) reads 0, asking.
    enum PhotoShrinking { ShrinkAsk = 0, ShrinkAlways = 1, ShrinkNever = 2 };
    int zdz = ShrinkAsk;
};

// The outcome of reading the file at start-up (each logs its own line).
enum class SettingsLoad { Loaded, Missing, WrongHeader, Damaged };

SettingsLoad LoadEditorSettings(Workspace &ws);
bool WriteDefaultEditorSettings(Workspace &ws);
bool SaveEditorSettings(Workspace &ws);
// Loads the file, writes the one key, saves it again. False when the file cannot be written.
bool UpdateEditorSetting(Workspace &ws, const QString &key, int value);
