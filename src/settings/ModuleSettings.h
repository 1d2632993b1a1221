#pragma once

#include <QString>
#include <array>
#include <optional>

class Workspace;

// The settings files of the two student-side modules: the testing module (header "Tester", usually
// Test.ini) and the learning module (header "Nauka", usually Nauka.ini). Same container as Edycja.ini:
// an "Ini" element whose keys hold settings-coded values. Fields are named after their keys; a
// default-constructed record holds the values of a new file.

struct TestingModuleSettings {
    QString sct;      // test list file (.skg) the module offers
    QString scl;      // student list file (.sku) the module uses
    bool al = true;   // warn a student who leaves a test unassessed
    bool fn = false;  // first name before surname
    bool opl = true;  // legend after assessment
    bool chl = true;  // the student may hide the legend
    bool woc = false; // repeated assessment
    // "sk": celujący, bardzo dobry, dobry, dostateczny, dopuszczający, each 10..99.
    std::array<int, 5> thresholds{95, 85, 70, 50, 30};
    // Carried through unchanged: the modules' own business.
    int wo = 0;
    int dfpz = 1;
    int trc = 1;
    bool wz = true; // end the test when its time is up
};

struct LearningModuleSettings {
    QString sct;      // question-set list file (.skz)
    bool al = false;  // warn a student who leaves a set
    bool rq = true;   // ask wrongly answered questions again
    bool rr = false;  // reload attachments for every question
    bool voi = false; // sounds
    int wo = 0;       // carried through unchanged
};

enum class ModuleFileKind {
    Testing,  // header "Tester", read into `testing`
    Learning, // header "Nauka", read into `learning`
    Editor,   // the editor's own Edycja.ini: refused with a pointer to the editor settings
    Other,    // any other header: ignored silently
    Damaged,  // unparseable, no readable header, or a module file that failed to read (reported)
};

// "sk": the five thresholds as two digits each, concatenated (values brought into 10..99 first).
QString ThresholdText(const std::array<int, 5> &thresholds);
// The first ten characters cut into pairs; none when they are fewer than ten or not all digits.
// Values outside 10..99 are brought into that range, as the window's arrows allow no other.
std::optional<std::array<int, 5>> ParseThresholdText(QStringView text);

// Opens a module settings file by its header with every message and log entry of the settings
// window, and sets ws.workMode (6 or 7 after a successful read, 0 for the editor's own file). The
// record of the kind read is filled only when the read succeeds.
ModuleFileKind OpenModuleSettingsFile(Workspace &ws, const QString &path, TestingModuleSettings &testing,
                                      LearningModuleSettings &learning);

// Write every key in file order; the outcome is logged, nothing is shown. The previous file
// survives a failed write.
// A recovery copy is written silently: the log names only the user's own saves.
enum class SettingsWriteLog { Logged, Silent };
bool WriteTestingModuleSettings(Workspace &ws, const QString &path, const TestingModuleSettings &values,
                                SettingsWriteLog log = SettingsWriteLog::Logged);
bool WriteLearningModuleSettings(Workspace &ws, const QString &path, const LearningModuleSettings &values,
                                 SettingsWriteLog log = SettingsWriteLog::Logged);
