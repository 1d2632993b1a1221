#include "testeditor/TestInfo.h"

#include "core/TextHelpers.h"
#include "core/Workspace.h"
#include "testeditor/TestEditor.h"

#include <algorithm>

using namespace Qt::StringLiterals;

TestInfo::TestInfo(TestEditor &editor) : m_editor(editor), m_ws(editor.workspace()) {}

void TestInfo::bringIntoRange(TestHeader &h)
{
    h.time = std::clamp(h.time, 0, timeMax) / timeStep * timeStep;
    for (int &t : h.thresholds)
        t = std::clamp(t, thresholdMin, thresholdMax);
}

void TestInfo::fill()
{
    TestHeader &h = m_ws.test.header;
    fields = Fields{};
    if (m_editor.headerEntered) {
        bringIntoRange(h);
        fields.answerCount = std::clamp(h.answerCount, 3, 5);
        fields.multipleChoice = h.multipleChoice == 1 ? 1 : 0;
        fields.name = h.testName;
        fields.author = h.author;
        fields.comment = h.remarks;
        fields.time = h.time;
        fields.thresholds = h.thresholds;
        fields.scale = h.gradingOn == 1;
    } else {
        fields.multipleChoice = m_ws.settings.sw ? 0 : 1;
        fields.answerCount = m_ws.settings.dfto ? 3 : 4;
        fields.thresholds = defaultScale;
    }
    choicesEnabled = h.questionCount <= 0;
}

void TestInfo::stepTime(int direction)
{
    fields.time = std::clamp(fields.time + (direction > 0 ? timeStep : -timeStep), 0, timeMax);
}

void TestInfo::stepThreshold(int index, int direction)
{
    if (index < 0 || index >= 5)
        return;
    int &t = fields.thresholds[static_cast<size_t>(index)];
    t = std::clamp(t + (direction > 0 ? 1 : -1), thresholdMin, thresholdMax);
}

bool TestInfo::accept()
{
    if (fields.name.isEmpty() || fields.author.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wpisz poprawnie nazwę i autora testu."_s);
        return false;
    }
    const std::array<int, 5> &t = fields.thresholds;
    if (fields.scale && !(t[0] > t[1] && t[1] > t[2] && t[2] > t[3] && t[3] > t[4])) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Ustaw poprawnie progi procentowe."_s);
        return false;
    }
    TestHeader &h = m_ws.test.header;
    h.gradingOn = fields.scale ? 1 : 0;
    h.thresholds = fields.scale ? fields.thresholds : defaultScale;
    h.testName = normaliseText(fields.name);
    h.author = normaliseText(fields.author);
    h.remarks = normaliseText(fields.comment);
    h.time = fields.time;
    // Once the test has questions its answer count and choice type stay as they are.
    if (h.questionCount <= 0) {
        h.answerCount = fields.answerCount;
        h.multipleChoice = fields.multipleChoice;
    }
    m_editor.headerAccepted();
    return true;
}
