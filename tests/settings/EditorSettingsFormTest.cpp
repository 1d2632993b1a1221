#include "settings/EditorSettingsForm.h"

#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kBadThresholds = u"Ustaw poprawnie progi punktowe."_s;
const QString kWriteFailed =
    u"Wystąpiły problemy z zapisaniem zmian.Brak możliwości zapisu w wybranym miejscu."_s;
const QString kSaveQuestion = u"Zmieniono ustawienia. Czy zapisać zmiany?"_s;

using Outcome = EditorSettingsForm::Outcome;

// A workspace with its settings file written, in the dialog's work mode, the main window at (40, 30).
class EditorSettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.workMode = WorkEditorSettings;
        ASSERT_TRUE(WriteDefaultEditorSettings(t.ws));
        form.fill();
    }

    // The settings as a fresh run would read them from the file.
    EditorSettings fromFile() const
    {
        Workspace other;
        other.paths = t.ws.paths;
        LoadEditorSettings(other);
        return other.settings;
    }

    void setThresholds(int cel, int bdb, int db, int dst, int dp)
    {
        form.values.cel = cel;
        form.values.bdb = bdb;
        form.values.db = db;
        form.values.dst = dst;
        form.values.dp = dp;
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    EditorSettingsForm form{t.ws};
    static constexpr int mainLeft = 40;
    static constexpr int mainTop = 30;
};

TEST_F(EditorSettingsFormTest, FillTakesTheSettingsInForceAndClearsTheFlag)
{
    t.ws.settings.ng = false;
    t.ws.settings.dft = 45;
    t.ws.settings.sk = 1;
    t.ws.settings.dp = 33;
    form.modified = true;
    form.fill();
    EXPECT_FALSE(form.values.ng);
    EXPECT_EQ(form.values.dft, 45);
    EXPECT_EQ(form.values.sk, 1);
    EXPECT_EQ(form.values.dp, 33);
    EXPECT_FALSE(form.modified);

    // Values no control can show, from a file edited by hand, come within the controls' ranges.
    t.ws.settings.dft = 1000;
    t.ws.settings.sk = 2;
    t.ws.settings.cel = 150;
    t.ws.settings.dp = -3;
    form.fill();
    EXPECT_EQ(form.values.dft, 300);
    EXPECT_EQ(form.values.sk, 0);
    EXPECT_EQ(form.values.cel, 99);
    EXPECT_EQ(form.values.dp, 10);
    EXPECT_EQ(t.ws.settings.dft, 1000); // the settings in force change only when saved
}

// Every edit marks the form changed, the scale box and the threshold arrows included, so that leaving
// with Anuluj never drops a change without asking.
TEST_F(EditorSettingsFormTest, EveryEditMarksTheFormModified)
{
    const std::pair<const char *, std::function<void(EditorSettingsForm &)>> edits[] = {
        {"flag", [](EditorSettingsForm &f) { f.setFlag(&EditorSettings::dfe, true); }},
        {"time", [](EditorSettingsForm &f) { f.stepTime(+1); }},
        {"scale", [](EditorSettingsForm &f) { f.setScale(true); }},
        {"threshold", [](EditorSettingsForm &f) { f.stepThreshold(&EditorSettings::dst, -1); }},
        {"photos", [](EditorSettingsForm &f) { f.setShrinking(EditorSettings::ShrinkNever); }},
    };
    for (const auto &[name, edit] : edits) {
        form.fill();
        edit(form);
        EXPECT_TRUE(form.modified) << name;
        prompts.queueAnswer(MessageResult::Cancel);
        EXPECT_EQ(form.cancel(mainLeft, mainTop), Outcome::StayOpen) << name;
        EXPECT_EQ(prompts.lastMessageText(), kSaveQuestion) << name;
    }
}

// Asking is the default, a file from before the setting asks too, and the choice is saved with the rest.
TEST_F(EditorSettingsFormTest, LargePhotoChoiceIsSavedAndReadBack)
{
    EXPECT_EQ(fromFile().zdz, EditorSettings::ShrinkAsk);
    form.setShrinking(EditorSettings::ShrinkAlways);
    form.setShrinking(7); // no such choice: ignored
    EXPECT_EQ(form.values.zdz, EditorSettings::ShrinkAlways);
    EXPECT_EQ(form.save(mainLeft, mainTop), Outcome::Close);
    EXPECT_EQ(t.ws.settings.zdz, EditorSettings::ShrinkAlways);
    EXPECT_EQ(fromFile().zdz, EditorSettings::ShrinkAlways);

    // A value no choice shows, from a file edited by hand, is shown as asking.
    t.ws.settings.zdz = 9;
    form.fill();
    EXPECT_EQ(form.values.zdz, EditorSettings::ShrinkAsk);
}

TEST_F(EditorSettingsFormTest, TimeStepsByFiveWithinZeroAndThreeHundred)
{
    form.stepTime(-1);
    EXPECT_EQ(form.values.dft, 0);
    QList<int> seen;
    for (int i = 0; i < 62; ++i) {
        form.stepTime(+1);
        seen << form.values.dft;
    }
    EXPECT_EQ(seen[0], 5);
    EXPECT_EQ(seen[1], 10);
    EXPECT_EQ(seen[59], 300);
    EXPECT_EQ(seen[60], 300);
    EXPECT_EQ(seen[61], 300);
    form.stepTime(-1);
    EXPECT_EQ(form.values.dft, 295);
}

TEST_F(EditorSettingsFormTest, ThresholdsStepByOneWithinTenAndNinetyNine)
{
    form.values.cel = 98;
    form.stepThreshold(&EditorSettings::cel, +1);
    EXPECT_EQ(form.values.cel, 99);
    form.stepThreshold(&EditorSettings::cel, +1);
    EXPECT_EQ(form.values.cel, 99);

    form.values.dp = 11;
    form.stepThreshold(&EditorSettings::dp, -1);
    EXPECT_EQ(form.values.dp, 10);
    form.stepThreshold(&EditorSettings::dp, -1);
    EXPECT_EQ(form.values.dp, 10);
    // Only the threshold stepped moves.
    EXPECT_EQ(form.values.bdb, 85);
    EXPECT_EQ(form.values.db, 70);
    EXPECT_EQ(form.values.dst, 50);
}

TEST_F(EditorSettingsFormTest, ThresholdsThatDoNotFallStrictlyAreRefused)
{
    const QByteArray before = t.readFile(t.ws.paths.iniPath);
    const int cases[][5] = {
        {95, 85, 70, 70, 30}, // two equal
        {95, 85, 70, 50, 60}, // the lowest above the next
        {80, 85, 70, 50, 30}, // the top below the next
        {50, 50, 50, 50, 50},
    };
    for (const auto &c : cases) {
        form.fill();
        form.setFlag(&EditorSettings::al, false);
        setThresholds(c[0], c[1], c[2], c[3], c[4]);
        prompts.messages.clear();
        EXPECT_EQ(form.save(mainLeft, mainTop), Outcome::StayOpen) << c[3];
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(prompts.messages[0].text, kBadThresholds);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::CloseOnly);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
        // Nothing taken, nothing written.
        EXPECT_TRUE(t.ws.settings.al);
        EXPECT_EQ(t.ws.settings.dst, 50);
        EXPECT_TRUE(form.modified);
    }
    EXPECT_EQ(t.readFile(t.ws.paths.iniPath), before);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
}

TEST_F(EditorSettingsFormTest, SaveTakesTheValuesWritesTheFileAndShowsTheClock)
{
    t.ws.settings.wo = 1;   // changed by the main window, not on the form
    t.ws.settings.dfpz = 3; // changed by the log window meanwhile
    form.setFlag(&EditorSettings::ng, false);
    form.setFlag(&EditorSettings::dfe, true);
    form.stepTime(+1);
    form.setScale(true);
    setThresholds(99, 80, 60, 40, 10);

    EXPECT_EQ(form.save(mainLeft, mainTop), Outcome::Close);
    EXPECT_FALSE(form.modified);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(mainLeft + 200, mainTop + 150)});

    for (const EditorSettings &s : {t.ws.settings, fromFile()}) {
        EXPECT_FALSE(s.ng);
        EXPECT_TRUE(s.dfe);
        EXPECT_TRUE(s.al);
        EXPECT_EQ(s.dft, 5);
        EXPECT_EQ(s.sk, 1);
        EXPECT_EQ(s.cel, 99);
        EXPECT_EQ(s.dp, 10);
        EXPECT_EQ(s.wo, 1);
        EXPECT_EQ(s.dfpz, 3);
    }
}

TEST_F(EditorSettingsFormTest, SaveDoesNothingOutsideTheDialogsWorkMode)
{
    t.ws.workMode = WorkTest;
    form.setFlag(&EditorSettings::al, false);
    EXPECT_EQ(form.save(mainLeft, mainTop), Outcome::StayOpen);
    EXPECT_TRUE(t.ws.settings.al);
    EXPECT_TRUE(fromFile().al);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
}

TEST_F(EditorSettingsFormTest, FailedWriteReportsKeepsTheValuesInForceAndStaysOpen)
{
    t.ws.log.setFilterLevel(4);
    t.ws.paths.iniPath = t.dir.path() + u"/brak/brak/Edycja.ini"_s; // two missing levels: cannot be made
    form.setFlag(&EditorSettings::fn, false);
    EXPECT_EQ(form.save(mainLeft, mainTop), Outcome::StayOpen);
    EXPECT_EQ(prompts.messageTexts(), QStringList{kWriteFailed});
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::CloseOnly);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
    EXPECT_FALSE(t.ws.settings.fn); // in force for the rest of the run
    EXPECT_TRUE(form.modified);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
    EXPECT_EQ(t.logTexts().last(), u"Problem z zapisem zmian w ini."_s);
    EXPECT_FALSE(QFile::exists(t.ws.paths.iniPath));
}

TEST_F(EditorSettingsFormTest, CancelWithoutChangesClosesWithoutAsking)
{
    EXPECT_EQ(form.cancel(mainLeft, mainTop), Outcome::Close);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(EditorSettingsFormTest, CancelAsksAndActsOnTheAnswer)
{
    struct Case {
        const char *name;
        MessageResult answer;
        Outcome outcome;
        bool savedInFile; // the change reached the file
        bool inForce;     // the change is in force in memory
        bool stillModified;
        int clocks;
    };
    const Case cases[] = {
        {"yes", MessageResult::Yes, Outcome::Close, true, true, false, 1},
        {"no", MessageResult::No, Outcome::Close, false, false, false, 0},
        {"cancel", MessageResult::Cancel, Outcome::StayOpen, false, false, true, 0},
        {"closed", MessageResult::Close, Outcome::StayOpen, false, false, true, 0},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(WriteDefaultEditorSettings(t.ws));
        prompts.messages.clear();
        prompts.clockPositions.clear();
        form.fill();
        form.setFlag(&EditorSettings::clg, false);
        prompts.queueAnswer(c.answer);
        EXPECT_EQ(form.cancel(mainLeft, mainTop), c.outcome) << c.name;
        ASSERT_EQ(prompts.messages.size(), 1) << c.name;
        EXPECT_EQ(prompts.messages[0].text, kSaveQuestion);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::YesNoCancel);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
        EXPECT_EQ(!fromFile().clg, c.savedInFile) << c.name;
        EXPECT_EQ(!t.ws.settings.clg, c.inForce) << c.name;
        EXPECT_EQ(form.modified, c.stillModified) << c.name;
        EXPECT_EQ(prompts.clockPositions.size(), c.clocks) << c.name;
    }
}

TEST_F(EditorSettingsFormTest, CancelNoRereadsTheFile)
{
    // The file says "do not warn" while memory says otherwise: No brings back what the file holds.
    t.ws.settings.al = false;
    ASSERT_TRUE(SaveEditorSettings(t.ws));
    t.ws.settings.al = true;
    form.fill();
    form.setFlag(&EditorSettings::sw, false);
    prompts.queueAnswer(MessageResult::No);
    EXPECT_EQ(form.cancel(mainLeft, mainTop), Outcome::Close);
    EXPECT_FALSE(t.ws.settings.al);
    EXPECT_TRUE(t.ws.settings.sw);
}

TEST_F(EditorSettingsFormTest, CancelYesWithBadThresholdsOrAFailedWriteStaysOpen)
{
    form.setFlag(&EditorSettings::al, false);
    setThresholds(95, 85, 70, 70, 30);
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(form.cancel(mainLeft, mainTop), Outcome::StayOpen);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kSaveQuestion, kBadThresholds}));
    EXPECT_TRUE(t.ws.settings.al);

    prompts.messages.clear();
    setThresholds(95, 85, 70, 50, 30);
    t.ws.paths.iniPath = t.dir.path() + u"/brak/brak/Edycja.ini"_s;
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(form.cancel(mainLeft, mainTop), Outcome::StayOpen);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kSaveQuestion, kWriteFailed}));
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
    EXPECT_EQ(prompts.unusedAnswers(), 0);
}

} // namespace
