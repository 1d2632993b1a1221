#pragma once

#include "core/StudentList.h"
#include "toolkit/SkinnedWindow.h"

#include <array>

class LabelButton;
class QCheckBox;
class QLineEdit;
class UpDown;
class Workspace;

// The class dialog of the student list editor: name, time, results folder, grading scale and its
// five thresholds. Time and thresholds are only stepped by their arrows.
class TFEdycjaKlasy : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFEdycjaKlasy(Workspace &ws, QWidget *parent = nullptr);

    // Shows `data` at `at`, modally; true when accepted, with the dialog's values in `data`.
    bool run(SchoolClass &data, QPoint at);
    // The controls from `data` (also for the gallery).
    void fill(const SchoolClass &data);
    const SchoolClass &values() const { return m_values; }

    static constexpr int kMaxTime = 300;
    static constexpr int kTimeStep = 5;
    static constexpr int kMinThreshold = 10;
    static constexpr int kMaxThreshold = 99;
    // One step of the arrows from a value as it may be stored (off the grid or out of range).
    static int steppedTime(int time, int direction);
    static int steppedThreshold(int value, int direction);

protected:
    bool acceptKey() override;
    bool cancelKey() override;
    // F10: picks the results folder.
    bool commandKey(const QKeyEvent *key) override;

private:
    void showNumbers();
    void pickFolder();

    Workspace &m_ws;
    SchoolClass m_values;
    QLineEdit *m_name;
    QLineEdit *m_time;
    UpDown *m_timeArrows;
    QLineEdit *m_folder;
    LabelButton *m_pickFolder;
    QCheckBox *m_scale;
    std::array<QLineEdit *, 5> m_thresholds{};
};
