#include "settings/ModuleSettingsForm.h"

#include "core/Workspace.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void ModuleSettingsForm::newTestSettings()
{
    const std::array<int, 5> shown = testing.thresholds;
    testing = TestingModuleSettings{};
    testing.thresholds = shown;
    testingPath.clear();
    testingModified = false;
    panel = Panel::Testing;
    m_ws.workMode = WorkTestModuleSettings;
}

void ModuleSettingsForm::newLearningSettings()
{
    learning = LearningModuleSettings{};
    learningPath.clear();
    learningModified = false;
    panel = Panel::Learning;
    m_ws.workMode = WorkLearningModuleSettings;
}

bool ModuleSettingsForm::openModuleSettings()
{
    if (!m_ws.prompts)
        return false;
    FileDialogRequest request;
    request.title = u"Wskaż plik ini"_s;
    request.filter = u"Plik Ini (*.ini)"_s;
    request.defaultExtension = u"ini"_s;
    const QString chosen = m_ws.prompts->openFileName(request);
    return !chosen.isEmpty() && openFile(chosen);
}

bool ModuleSettingsForm::openFile(const QString &path)
{
    switch (OpenModuleSettingsFile(m_ws, path, testing, learning)) {
    case ModuleFileKind::Testing:
        testingPath = path;
        testingModified = false;
        panel = Panel::Testing;
        return true;
    case ModuleFileKind::Learning:
        learningPath = path;
        learningModified = false;
        panel = Panel::Learning;
        return true;
    default:
        return false;
    }
}

void ModuleSettingsForm::setTestingFlag(bool TestingModuleSettings::*flag, bool on)
{
    testing.*flag = on;
    changed(testingModified);
}

void ModuleSettingsForm::setTestingText(QString TestingModuleSettings::*field, const QString &text)
{
    if (testing.*field == text)
        return;
    testing.*field = text;
    changed(testingModified);
}

void ModuleSettingsForm::stepThreshold(int i, int direction)
{
    if (i < 0 || i >= 5)
        return;
    int &value = testing.thresholds[static_cast<size_t>(i)];
    value = std::clamp(value + (direction > 0 ? 1 : -1), 10, 99);
    changed(testingModified);
}

void ModuleSettingsForm::setLearningFlag(bool LearningModuleSettings::*flag, bool on)
{
    learning.*flag = on;
    changed(learningModified);
}

void ModuleSettingsForm::setLearningPath(const QString &text)
{
    if (learning.sct == text)
        return;
    learning.sct = text;
    changed(learningModified);
}

void ModuleSettingsForm::pickTestList()
{
    if (!m_ws.prompts)
        return;
    const QString chosen = m_ws.prompts->openFileName(
        {u"Wskaż plik z listą testów"_s, u"Plik listy testów (*.skg)"_s, {}, {}, {}});
    if (!chosen.isEmpty())
        setTestingText(&TestingModuleSettings::sct, chosen);
}

void ModuleSettingsForm::pickStudentList()
{
    if (!m_ws.prompts)
        return;
    const QString chosen = m_ws.prompts->openFileName(
        {u"Wskaż plik z listą uczniow"_s, u"Plik listy uczniów (*.sku)"_s, {}, {}, {}});
    if (!chosen.isEmpty())
        setTestingText(&TestingModuleSettings::scl, chosen);
}

void ModuleSettingsForm::pickSetList()
{
    if (!m_ws.prompts)
        return;
    const QString chosen = m_ws.prompts->openFileName(
        {u"Wskaż plik listy zestawów"_s, u"Plik listy zestawów pytań (*.skz)"_s, u"skz"_s, {}, {}});
    if (!chosen.isEmpty())
        setLearningPath(chosen);
}

bool ModuleSettingsForm::thresholdsFall() const
{
    const auto &t = testing.thresholds;
    for (size_t i = 1; i < t.size(); ++i) {
        if (t[i - 1] <= t[i])
            return false;
    }
    return true;
}

bool ModuleSettingsForm::checkThresholds()
{
    if (panel != Panel::Testing || thresholdsFall())
        return true;
    m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                     u"Błędne dane.\rUstaw poprawnie progi procentowe."_s);
    return false;
}

bool ModuleSettingsForm::save(int mainLeft, int mainTop)
{
    const bool testingPanel = panel == Panel::Testing;
    QString &path = testingPanel ? testingPath : learningPath;
    if (path.isEmpty()) {
        if (!m_ws.prompts)
            return false;
        FileDialogRequest request;
        request.title = u"Podaj nazwę i wskaż miejsce zapisu"_s;
        request.filter = u"Plik Ini (*.ini)"_s;
        request.defaultExtension = u"ini"_s;
        if (!m_saveDialogUsed)
            request.fileName = testingPanel ? u"Test.ini"_s : u"Nauka.ini"_s;
        const QString chosen = m_ws.prompts->saveFileName(request);
        m_saveDialogUsed = true;
        if (chosen.isEmpty())
            return false;
        path = chosen;
    }
    const bool written = testingPanel ? WriteTestingModuleSettings(m_ws, path, testing)
                                      : WriteLearningModuleSettings(m_ws, path, learning);
    if (!written) {
        // The writer only logs; the user must know the file was not written and the window stays
        // open with the changes.
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Nie udało się zapisać pliku:\r"_s + path + u"\rZmiany pozostają w oknie."_s);
        return false;
    }
    (testingPanel ? testingModified : learningModified) = false;
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(mainLeft + 200, mainTop + 150);
    return true;
}

ModuleSettingsForm::Outcome ModuleSettingsForm::saveCommand(int mainLeft, int mainTop)
{
    if (checkThresholds())
        save(mainLeft, mainTop);
    return Outcome::StayOpen;
}

ModuleSettingsForm::Outcome ModuleSettingsForm::close(int mainLeft, int mainTop)
{
    if (!modified())
        return Outcome::Close;
    switch (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::InfoIcon,
                             u"Zmieniono ustawienia. Czy zapisać zmiany?"_s)) {
    case MessageResult::Yes:
        // Thresholds that do not fall are refused here too, rather than written.
        return checkThresholds() && save(mainLeft, mainTop) ? Outcome::Close : Outcome::StayOpen;
    case MessageResult::No:
        return Outcome::Close;
    default:
        return Outcome::StayOpen;
    }
}

void ModuleSettingsForm::changed(bool &panelModified)
{
    panelModified = true;
    ++m_revision;
}

bool ModuleSettingsForm::writeRecoveryCopy(const QString &copy) const
{
    return panel == Panel::Testing ? WriteTestingModuleSettings(m_ws, copy, testing, SettingsWriteLog::Silent)
                                   : WriteLearningModuleSettings(m_ws, copy, learning, SettingsWriteLog::Silent);
}

bool ModuleSettingsForm::openRecoveryCopy(const QString &copy, const QString &original)
{
    if (!openFile(copy))
        return false;
    const bool testingPanel = panel == Panel::Testing;
    (testingPanel ? testingPath : learningPath) = original;
    changed(testingPanel ? testingModified : learningModified);
    return true;
}
