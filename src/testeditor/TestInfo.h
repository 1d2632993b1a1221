#pragma once

#include "core/TestModel.h"

#include <QString>
#include <array>

class TestEditor;
class Workspace;

// The test information window without its widgets: the header's fields as the window shows them,
// the arrows of the time and the thresholds, and accepting with both checks before anything is
// stored.
class TestInfo {
public:
    struct Fields {
        QString name;                                      // ENazwaTestu
        QString author;                                    // EAutorTestu
        QString comment;                                   // MKomentarz
        int time = 0;                                      // ECzas: 0..300 by 5
        int multipleChoice = 0;                            // RTestPojedynczy 0 / RTestWielokrotny 1
        int answerCount = 3;                               // RTrzyOdp / RCzteryOdp / RPiecOdp
        bool scale = false;                                // ChJestSkala
        std::array<int, 5> thresholds{90, 80, 70, 60, 40}; // ECel .. EDp: 10..99

        bool operator==(const Fields &) const = default;
    };

    static constexpr int timeMax = 300;
    static constexpr int timeStep = 5;
    static constexpr int thresholdMin = 10;
    static constexpr int thresholdMax = 99;
    static constexpr std::array<int, 5> defaultScale{90, 80, 70, 60, 40};

    explicit TestInfo(TestEditor &editor);

    Fields fields;
    // The five choice buttons: locked once the test has questions.
    bool choicesEnabled = true;

    // showTestInfo's filling: from the header once it has been entered, else a new test's defaults.
    void fill();
    void stepTime(int direction);
    void stepThreshold(int index, int direction); // index 0 (cel) .. 4 (dp)
    // acceptTestInfo: both checks, then stores and tells the test editor; false (with its message)
    // when nothing was stored.
    bool accept();

    // Time and thresholds as the controls can show them: time within 0..300 on the 5-step,
    // thresholds within 10..99.
    static void bringIntoRange(TestHeader &header);

private:
    TestEditor &m_editor;
    Workspace &m_ws;
};
