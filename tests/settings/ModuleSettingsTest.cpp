#include "settings/ModuleSettings.h"

#include "settings/ModuleSettingsForm.h"
#include "storage/Cp1250.h"
#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"
#include "support/DocumentFixtures.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace DocumentFixtures;

static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kDamagedModuleFile = u"Plik jest uszkodzony. Utwórz nowy plik."_s;

class ModuleSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.log.setFilterLevel(4);
    }

    QString path(const QString &name) const { return t.dir.path() + u"/"_s + name; }

    // Key names in file order with their decoded values.
    QList<std::pair<QString, QString>> decodedKeys(const QString &p)
    {
        TpkXML doc;
        EXPECT_TRUE(doc.LoadFromFile(p));
        QList<std::pair<QString, QString>> keys;
        const TpkXMLNode *ini = doc.DocumentChild(u"Ini");
        for (int i = 0; i < ini->childCount(); ++i) {
            const TpkXMLNode *key = ini->child(i);
            const std::optional<QByteArray> value = DecodeSetting(Cp1250::fromUnicode(key->Text()));
            keys.append({key->name, value ? Cp1250::toUnicode(*value) : u"<?>"_s});
        }
        return keys;
    }

    // A settings file from key/value pairs, in order.
    QString writeKeys(const QString &name, const QList<std::pair<QString, QString>> &keys)
    {
        TpkXML doc;
        for (const auto &[key, value] : keys)
            WriteSettingString(key, value, doc, t.ws.rng);
        const QString p = path(name);
        EXPECT_TRUE(doc.SaveToFile(p));
        return p;
    }

    static QList<std::pair<QString, QString>> testerKeys()
    {
        return {{u"ed"_s, u"Tester"_s},
                {u"sct"_s, u"/testy/lista.skg"_s},
                {u"scl"_s, u"/listy/szkoła.sku"_s},
                {u"al"_s, u"0"_s},
                {u"fn"_s, u"1"_s},
                {u"opl"_s, u"0"_s},
                {u"chl"_s, u"0"_s},
                {u"woc"_s, u"1"_s},
                {u"sk"_s, u"9080706050"_s},
                {u"wo"_s, u"1"_s},
                {u"dfpz"_s, u"3"_s},
                {u"trc"_s, u"0"_s},
                {u"wz"_s, u"0"_s}};
    }

    ModuleFileKind open(const QString &p) { return OpenModuleSettingsFile(t.ws, p, testing, learning); }

    TempWorkspace t;
    ScriptedPrompts prompts;
    TestingModuleSettings testing;
    LearningModuleSettings learning;
};

} // namespace

TEST_F(ModuleSettings, NewTestingFileHoldsTheDefaultsInOrder)
{
    ASSERT_TRUE(WriteTestingModuleSettings(t.ws, path(u"Test.ini"_s), TestingModuleSettings{}));
    EXPECT_EQ(decodedKeys(path(u"Test.ini"_s)),
              (QList<std::pair<QString, QString>>{{u"ed"_s, u"Tester"_s},
                                                  {u"sct"_s, u""_s},
                                                  {u"scl"_s, u""_s},
                                                  {u"al"_s, u"1"_s},
                                                  {u"fn"_s, u"0"_s},
                                                  {u"opl"_s, u"1"_s},
                                                  {u"chl"_s, u"1"_s},
                                                  {u"woc"_s, u"0"_s},
                                                  {u"sk"_s, u"9585705030"_s},
                                                  {u"wo"_s, u"0"_s},
                                                  {u"dfpz"_s, u"1"_s},
                                                  {u"trc"_s, u"1"_s},
                                                  {u"wz"_s, u"1"_s}}));
    EXPECT_EQ(t.logTexts(), QStringList{u"Zapisano nowy plik Test.ini."_s});
    EXPECT_TRUE(prompts.messages.isEmpty());
    // The same text codes differently each time: values are not stored bare.
    EXPECT_FALSE(t.readFile(path(u"Test.ini"_s)).contains("Tester"));
}

TEST_F(ModuleSettings, NewLearningFileHoldsTheDefaultsInOrder)
{
    ASSERT_TRUE(WriteLearningModuleSettings(t.ws, path(u"Nauka.ini"_s), LearningModuleSettings{}));
    EXPECT_EQ(decodedKeys(path(u"Nauka.ini"_s)), (QList<std::pair<QString, QString>>{{u"ed"_s, u"Nauka"_s},
                                                                                     {u"sct"_s, u""_s},
                                                                                     {u"al"_s, u"0"_s},
                                                                                     {u"rq"_s, u"1"_s},
                                                                                     {u"rr"_s, u"0"_s},
                                                                                     {u"voi"_s, u"0"_s},
                                                                                     {u"wo"_s, u"0"_s}}));
    EXPECT_EQ(t.logTexts(), QStringList{u"Zapisano nowy plik Nauka.ini."_s});
}

TEST_F(ModuleSettings, OpensATestingFileAndCarriesItsHiddenKeys)
{
    const QString p = writeKeys(u"Moj.ini"_s, testerKeys());
    ASSERT_EQ(open(p), ModuleFileKind::Testing);
    EXPECT_EQ(t.ws.workMode, WorkTestModuleSettings);
    EXPECT_EQ(testing.sct, u"/testy/lista.skg"_s);
    EXPECT_EQ(testing.scl, u"/listy/szkoła.sku"_s);
    EXPECT_FALSE(testing.al);
    EXPECT_TRUE(testing.fn);
    EXPECT_FALSE(testing.opl);
    EXPECT_FALSE(testing.chl);
    EXPECT_TRUE(testing.woc);
    EXPECT_FALSE(testing.wz);
    EXPECT_EQ(testing.thresholds, (std::array<int, 5>{90, 80, 70, 60, 50}));
    EXPECT_EQ(testing.wo, 1);
    EXPECT_EQ(testing.dfpz, 3);
    EXPECT_EQ(testing.trc, 0);
    EXPECT_EQ(t.logTexts(), QStringList{u"Poprawnie wczytano plik Test.ini."_s});
    EXPECT_TRUE(prompts.messages.isEmpty());

    // Written back, the keys without a control keep their values.
    ASSERT_TRUE(WriteTestingModuleSettings(t.ws, p, testing));
    TestingModuleSettings again;
    ASSERT_EQ(OpenModuleSettingsFile(t.ws, p, again, learning), ModuleFileKind::Testing);
    EXPECT_EQ(again.wo, 1);
    EXPECT_EQ(again.dfpz, 3);
    EXPECT_EQ(again.trc, 0);
    EXPECT_EQ(decodedKeys(p), testerKeys());
}

TEST_F(ModuleSettings, OpensALearningFile)
{
    const QString p = writeKeys(u"N.ini"_s, {{u"ed"_s, u"Nauka"_s},
                                             {u"sct"_s, u"/zestawy/lista.skz"_s},
                                             {u"al"_s, u"1"_s},
                                             {u"rq"_s, u"0"_s},
                                             {u"rr"_s, u"1"_s},
                                             {u"voi"_s, u"1"_s},
                                             {u"wo"_s, u"7"_s}});
    ASSERT_EQ(open(p), ModuleFileKind::Learning);
    EXPECT_EQ(t.ws.workMode, WorkLearningModuleSettings);
    EXPECT_EQ(learning.sct, u"/zestawy/lista.skz"_s);
    EXPECT_TRUE(learning.al);
    EXPECT_FALSE(learning.rq);
    EXPECT_TRUE(learning.rr);
    EXPECT_TRUE(learning.voi);
    EXPECT_EQ(learning.wo, 7);
    EXPECT_EQ(t.logTexts(), QStringList{u"Poprawnie wczytano plik Nauka.ini."_s});
}

TEST_F(ModuleSettings, OtherHeadersAndDamagedFiles)
{
    QByteArray deep = "<Ini>";
    for (int i = 0; i < 50000; ++i)
        deep += "<a>";
    QList<std::pair<QString, QString>> sixDigits = testerKeys();
    sixDigits[8].second = u"908070"_s;
    QList<std::pair<QString, QString>> letters = testerKeys();
    letters[8].second = u"90807060xx"_s;
    QList<std::pair<QString, QString>> noFlag = testerKeys();
    noFlag.removeAt(6); // "chl"
    QList<std::pair<QString, QString>> noNumbers = testerKeys();
    noNumbers.removeAt(9); // "wo": an integer reads as 0 without failing
    const QList<std::pair<QString, QString>> learningNoSct{{u"ed"_s, u"Nauka"_s}, {u"al"_s, u"1"_s}};

    const QString damagedFile = u"Problem z wczytaniem pliku. Plik jest uszkodzony."_s;
    const QString editorNote = u"By edytować plik \"Edytor.ini\" wybierz:\rPomoc->Ustawienia Edytora."_s;
    struct Case {
        const char *what;
        QByteArray raw; // used when `keys` is empty
        QList<std::pair<QString, QString>> keys;
        ModuleFileKind kind;
        QStringList messages;
        QStringList log;
        int workMode;
    } cases[] = {
        {"editor settings",
         {},
         {{u"ed"_s, u"Edytor"_s}, {u"al"_s, u"1"_s}},
         ModuleFileKind::Editor,
         {editorNote},
         {},
         WorkNothing},
        {"another header", {}, {{u"ed"_s, u"Coś innego"_s}}, ModuleFileKind::Other, {}, {}, -1},
        {"no header",
         {},
         {{u"al"_s, u"1"_s}},
         ModuleFileKind::Damaged,
         {damagedFile},
         {u"Uszkodzony plik ini. Błąd odczytu."_s},
         -1},
        {"no file",
         "-",
         {},
         ModuleFileKind::Damaged,
         {damagedFile},
         {u"Uszkodzony plik ini. Błąd odczytu."_s},
         -1},
        {"not XML",
         "\x01\x02 to nie jest xml",
         {},
         ModuleFileKind::Damaged,
         {damagedFile},
         {u"Uszkodzony plik ini. Błąd odczytu."_s},
         -1},
        {"50000 nested elements",
         deep,
         {},
         ModuleFileKind::Damaged,
         {damagedFile},
         {u"Uszkodzony plik ini. Błąd odczytu."_s},
         -1},
        {"thresholds of six digits",
         {},
         sixDigits,
         ModuleFileKind::Damaged,
         {kDamagedModuleFile},
         {u"Uszkodzony plik Test.ini. Błąd odczytu."_s},
         -1},
        {"thresholds not digits",
         {},
         letters,
         ModuleFileKind::Damaged,
         {kDamagedModuleFile},
         {u"Uszkodzony plik Test.ini. Błąd odczytu."_s},
         -1},
        {"a flag missing",
         {},
         noFlag,
         ModuleFileKind::Damaged,
         {kDamagedModuleFile},
         {u"Uszkodzony plik Test.ini. Błąd odczytu."_s},
         -1},
        {"an integer missing",
         {},
         noNumbers,
         ModuleFileKind::Testing,
         {},
         {u"Poprawnie wczytano plik Test.ini."_s},
         WorkTestModuleSettings},
        {"learning file without its path",
         {},
         learningNoSct,
         ModuleFileKind::Damaged,
         {kDamagedModuleFile},
         {u"Uszkodzony plik Nauka.ini. Błąd odczytu."_s},
         -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(t.ws.paths.logPath);
        prompts.messages.clear();
        t.ws.workMode = -1;
        const QString p = path(u"plik.ini"_s);
        QFile::remove(p);
        if (!c.keys.isEmpty())
            writeKeys(u"plik.ini"_s, c.keys);
        else if (c.raw != "-")
            PakBytes::writeFile(p, c.raw);
        testing = TestingModuleSettings{};
        testing.sct = u"bez zmian"_s;
        EXPECT_EQ(open(p), c.kind);
        EXPECT_EQ(prompts.messageTexts(), c.messages);
        EXPECT_EQ(t.logTexts(), c.log);
        EXPECT_EQ(t.ws.workMode, c.workMode);
        for (const ScriptedPrompts::Message &m : prompts.messages) {
            EXPECT_EQ(m.kind, MessageKind::CloseOnly);
        }
        if (c.kind == ModuleFileKind::Damaged) {
            EXPECT_EQ(testing.sct, u"bez zmian"_s); // a failed read leaves the record alone
        }
    }
}

TEST_F(ModuleSettings, ThresholdText)
{
    EXPECT_EQ(ThresholdText({95, 85, 70, 50, 30}), u"9585705030"_s);
    EXPECT_EQ(ThresholdText({100, 85, 70, 50, 5}), u"9985705010"_s); // kept to two digits

    struct Case {
        QString text;
        std::optional<std::array<int, 5>> values;
    } cases[] = {
        {u"9585705030"_s, std::array<int, 5>{95, 85, 70, 50, 30}},
        {u"9585705030xyz"_s, std::array<int, 5>{95, 85, 70, 50, 30}}, // beyond ten characters: not read
        {u"0585705000"_s, std::array<int, 5>{10, 85, 70, 50, 10}},    // brought into 10..99
        {u"958570503"_s, std::nullopt},
        {u""_s, std::nullopt},
        {u"95857050 3"_s, std::nullopt},
        {u"9585705O30"_s, std::nullopt},
        {u"95857-5030"_s, std::nullopt},
        {u"٩٥٨٥٧٠٥٠٣٠"_s, std::nullopt}, // digits of another script
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ParseThresholdText(c.text), c.values) << c.text.toStdString();
    }
}

TEST_F(ModuleSettings, FailedWriteIsOnlyLoggedAndKeepsTheOldFile)
{
    const QString p = path(u"Test.ini"_s);
    ASSERT_TRUE(WriteTestingModuleSettings(t.ws, p, TestingModuleSettings{}));
    const QByteArray old = t.readFile(p);
    QFile::remove(t.ws.paths.logPath);

    TestingModuleSettings big;
    big.sct = QString(5000, u'a');
    bool written = true;
    {
        FileSizeLimit limit(2000);
        written = WriteTestingModuleSettings(t.ws, p, big);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(t.readFile(p), old);
    EXPECT_EQ(filesIn(t.dir.path()), QStringList{u"Test.ini"_s});
    EXPECT_FALSE(WriteLearningModuleSettings(t.ws, QString(), LearningModuleSettings{}));
    EXPECT_FALSE(WriteLearningModuleSettings(t.ws, t.dir.path(), LearningModuleSettings{}));
    EXPECT_EQ(t.logTexts(), (QStringList{u"Problem z zapisem Test.ini."_s, u"Problem z zapisem Nauka.ini."_s,
                                         u"Problem z zapisem Nauka.ini."_s}));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// --- The window's form: new files, opening by header, the threshold check, saving and closing.

namespace {

const QString kBadThresholds = u"Błędne dane.\rUstaw poprawnie progi procentowe."_s;
const QString kCloseQuestion = u"Zmieniono ustawienia. Czy zapisać zmiany?"_s;

class ModuleSettingsWindowForm : public ModuleSettings {
protected:
    ModuleSettingsForm form{t.ws};
};

} // namespace

TEST_F(ModuleSettingsWindowForm, NewTestingFileSavedUnchangedHoldsTheDefaultsAndProposesTestIni)
{
    form.newTestSettings();
    EXPECT_EQ(t.ws.workMode, WorkTestModuleSettings);
    EXPECT_FALSE(form.modified());
    const QString file = path(u"Test.ini"_s);
    prompts.queueFileName(file);
    EXPECT_EQ(form.saveCommand(100, 50), ModuleSettingsForm::Outcome::StayOpen);
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    const FileDialogRequest &asked = prompts.fileRequests.at(0).request;
    EXPECT_TRUE(prompts.fileRequests.at(0).save);
    EXPECT_EQ(asked.title, u"Podaj nazwę i wskaż miejsce zapisu"_s);
    EXPECT_EQ(asked.fileName, u"Test.ini"_s);
    EXPECT_EQ(asked.defaultExtension, u"ini"_s);
    EXPECT_EQ(decodedKeys(file), (QList<std::pair<QString, QString>>{{u"ed"_s, u"Tester"_s},
                                                                     {u"sct"_s, {}},
                                                                     {u"scl"_s, {}},
                                                                     {u"al"_s, u"1"_s},
                                                                     {u"fn"_s, u"0"_s},
                                                                     {u"opl"_s, u"1"_s},
                                                                     {u"chl"_s, u"1"_s},
                                                                     {u"woc"_s, u"0"_s},
                                                                     {u"sk"_s, u"9585705030"_s},
                                                                     {u"wo"_s, u"0"_s},
                                                                     {u"dfpz"_s, u"1"_s},
                                                                     {u"trc"_s, u"1"_s},
                                                                     {u"wz"_s, u"1"_s}}));
    EXPECT_EQ(prompts.clockPositions, (QList<QPoint>{{300, 200}}));
    EXPECT_EQ(form.testingPath, file);

    // Known path: written again without a dialog. A new learning file: the name is proposed only the
    // first time the dialog is used in a run.
    form.stepThreshold(0, +1);
    form.saveCommand(100, 50);
    EXPECT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(decodedKeys(file).at(8).second, u"9685705030"_s);
    form.newLearningSettings();
    EXPECT_EQ(t.ws.workMode, WorkLearningModuleSettings);
    prompts.queueFileName(path(u"Nauka.ini"_s));
    form.saveCommand(100, 50);
    ASSERT_EQ(prompts.fileRequests.size(), 2);
    EXPECT_TRUE(prompts.fileRequests.at(1).request.fileName.isEmpty());
    EXPECT_EQ(decodedKeys(path(u"Nauka.ini"_s)).at(0).second, u"Nauka"_s);
}

TEST_F(ModuleSettingsWindowForm, ThresholdsKeepTheirLastShownValuesAndStayWithinRange)
{
    form.newTestSettings();
    for (int i = 0; i < 10; ++i)
        form.stepThreshold(0, +1);
    for (int i = 0; i < 30; ++i)
        form.stepThreshold(4, -1);
    EXPECT_EQ(form.testing.thresholds, (std::array<int, 5>{99, 85, 70, 50, 10}));
    form.testing.al = false;
    form.newTestSettings();
    EXPECT_EQ(form.testing.thresholds, (std::array<int, 5>{99, 85, 70, 50, 10}));
    EXPECT_TRUE(form.testing.al);
    EXPECT_FALSE(form.testingModified);
}

// Thresholds that do not fall: refused by LZapiszIni, and by Yes to the close question too, which
// keeps the window open instead of writing them.
TEST_F(ModuleSettingsWindowForm, ThresholdsThatDoNotFallAreNeverWritten)
{
    form.newTestSettings();
    form.testingPath = path(u"Test.ini"_s);
    form.stepThreshold(2, +1);
    form.testing.thresholds = {95, 85, 85, 50, 30};
    EXPECT_EQ(form.saveCommand(0, 0), ModuleSettingsForm::Outcome::StayOpen);
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(form.close(0, 0), ModuleSettingsForm::Outcome::StayOpen);
    EXPECT_FALSE(QFile::exists(form.testingPath));
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kBadThresholds, kCloseQuestion, kBadThresholds}));
    EXPECT_TRUE(form.modified());

    // Falling thresholds are written by Yes, which then closes; No closes without writing.
    form.testing.thresholds = {95, 85, 84, 50, 30};
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(form.close(0, 0), ModuleSettingsForm::Outcome::Close);
    EXPECT_EQ(decodedKeys(form.testingPath).at(8).second, u"9585845030"_s);
    form.setTestingFlag(&TestingModuleSettings::al, false);
    form.setTestingFlag(&TestingModuleSettings::al, true); // on and back off still counts
    prompts.queueAnswer(MessageResult::Cancel);
    EXPECT_EQ(form.close(0, 0), ModuleSettingsForm::Outcome::StayOpen);
    prompts.queueAnswer(MessageResult::No);
    EXPECT_EQ(form.close(0, 0), ModuleSettingsForm::Outcome::Close);

    // The learning panel has no thresholds to check.
    form.newLearningSettings();
    form.learningPath = path(u"Nauka.ini"_s);
    form.testing.thresholds = {10, 10, 10, 10, 10};
    form.saveCommand(0, 0);
    EXPECT_TRUE(QFile::exists(form.learningPath));
}

// A failed write is shown to the user; the window stays open with its changes, from either road.
TEST_F(ModuleSettingsWindowForm, FailedWriteIsReportedAndKeepsTheWindowOpen)
{
    form.newLearningSettings();
    form.setLearningFlag(&LearningModuleSettings::voi, true);
    form.learningPath = path(u"brak/Nauka.ini"_s);
    form.saveCommand(0, 0);
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(form.close(0, 0), ModuleSettingsForm::Outcome::StayOpen);
    EXPECT_TRUE(form.learningModified);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
    const QString failed =
        u"Nie udało się zapisać pliku:\r"_s + form.learningPath + u"\rZmiany pozostają w oknie."_s;
    EXPECT_EQ(prompts.messageTexts(), (QStringList{failed, kCloseQuestion, failed}));

    // A cancelled name saves nothing and keeps the window open too.
    form.newTestSettings();
    form.setTestingText(&TestingModuleSettings::sct, u"lista.skg"_s);
    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(QString());
    EXPECT_EQ(form.close(0, 0), ModuleSettingsForm::Outcome::StayOpen);
}

TEST_F(ModuleSettingsWindowForm, OpensByHeaderAndCarriesTheHiddenKeys)
{
    const QString testing = writeKeys(u"t.ini"_s, {{u"ed"_s, u"Tester"_s},
                                                   {u"sct"_s, u"a.skg"_s},
                                                   {u"scl"_s, u"b.sku"_s},
                                                   {u"al"_s, u"0"_s},
                                                   {u"fn"_s, u"1"_s},
                                                   {u"opl"_s, u"0"_s},
                                                   {u"chl"_s, u"0"_s},
                                                   {u"woc"_s, u"1"_s},
                                                   {u"sk"_s, u"9905704005"_s},
                                                   {u"wo"_s, u"1"_s},
                                                   {u"dfpz"_s, u"3"_s},
                                                   {u"trc"_s, u"0"_s},
                                                   {u"wz"_s, u"0"_s}});
    prompts.queueFileName(testing);
    ASSERT_TRUE(form.openModuleSettings());
    EXPECT_EQ(prompts.fileRequests.at(0).request.title, u"Wskaż plik ini"_s);
    EXPECT_EQ(form.panel, ModuleSettingsForm::Panel::Testing);
    EXPECT_EQ(t.ws.workMode, WorkTestModuleSettings);
    // 05 comes within the arrows' range when the window fills; saving writes what it shows.
    EXPECT_EQ(form.testing.thresholds, (std::array<int, 5>{99, 10, 70, 40, 10}));
    form.setTestingFlag(&TestingModuleSettings::woc, false);
    form.testing.thresholds = {99, 80, 70, 40, 10};
    form.saveCommand(0, 0);
    const auto keys = decodedKeys(testing);
    EXPECT_EQ(keys.at(7).second, u"0"_s);
    EXPECT_EQ(keys.at(8).second, u"9980704010"_s);
    EXPECT_EQ(keys.at(9), (std::pair<QString, QString>{u"wo"_s, u"1"_s}));
    EXPECT_EQ(keys.at(10), (std::pair<QString, QString>{u"dfpz"_s, u"3"_s}));
    EXPECT_EQ(keys.at(11), (std::pair<QString, QString>{u"trc"_s, u"0"_s}));

    // The editor's own file points to the settings dialog and opens nothing.
    const QString editor = writeKeys(u"e.ini"_s, {{u"ed"_s, u"Edytor"_s}});
    EXPECT_FALSE(form.openFile(editor));
    EXPECT_EQ(prompts.lastMessageText(),
              u"By edytować plik \"Edytor.ini\" wybierz:\rPomoc->Ustawienia Edytora."_s);
    EXPECT_EQ(t.ws.workMode, WorkNothing);
    // Six digits of thresholds: damaged.
    const QString shortScale = writeKeys(u"s.ini"_s, {{u"ed"_s, u"Tester"_s},
                                                      {u"sct"_s, {}},
                                                      {u"scl"_s, {}},
                                                      {u"al"_s, u"1"_s},
                                                      {u"fn"_s, u"1"_s},
                                                      {u"opl"_s, u"1"_s},
                                                      {u"chl"_s, u"1"_s},
                                                      {u"woc"_s, u"1"_s},
                                                      {u"sk"_s, u"958570"_s},
                                                      {u"wz"_s, u"1"_s}});
    EXPECT_FALSE(form.openFile(shortScale));
    EXPECT_EQ(prompts.lastMessageText(), kDamagedModuleFile);
    EXPECT_EQ(form.testingPath, testing);
}

// Unsaved settings have a recovery copy like any document: it holds the shown panel as it stands,
// is written without a word in the log, and comes back modified on its panel, saving to the file it
// belongs to.
TEST_F(ModuleSettingsWindowForm, RecoveryCopyOfEitherPanel)
{
    const QString copy = path(u"kopia.ini"_s);
    const QString original = path(u"Test.ini"_s);
    form.newTestSettings();
    const int before = form.revision();
    form.setTestingFlag(&TestingModuleSettings::woc, true);
    form.stepThreshold(0, +1);
    EXPECT_GT(form.revision(), before);
    ASSERT_TRUE(form.writeRecoveryCopy(copy));
    EXPECT_TRUE(t.logTexts().isEmpty());
    EXPECT_FALSE(form.writeRecoveryCopy(t.dir.path())); // a folder is in the way: only false
    EXPECT_TRUE(t.logTexts().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());

    ModuleSettingsForm restored{t.ws};
    ASSERT_TRUE(restored.openRecoveryCopy(copy, original));
    EXPECT_EQ(restored.panel, ModuleSettingsForm::Panel::Testing);
    EXPECT_TRUE(restored.modified());
    EXPECT_TRUE(restored.testing.woc);
    EXPECT_EQ(restored.testing.thresholds[0], 96);
    EXPECT_EQ(restored.testingPath, original);
    restored.saveCommand(0, 0);
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
    EXPECT_FALSE(restored.modified());
    EXPECT_EQ(decodedKeys(original).at(6).second, u"1"_s); // "woc"

    form.newLearningSettings();
    form.setLearningPath(u"zestawy.skz"_s);
    ASSERT_TRUE(form.writeRecoveryCopy(copy));
    ASSERT_TRUE(restored.openRecoveryCopy(copy, {}));
    EXPECT_EQ(restored.panel, ModuleSettingsForm::Panel::Learning);
    EXPECT_TRUE(restored.modified());
    EXPECT_EQ(restored.learning.sct, u"zestawy.skz"_s);
    EXPECT_TRUE(restored.learningPath.isEmpty());

    // Closed, the window holds nothing to recover.
    restored.windowClosed();
    EXPECT_FALSE(restored.testingModified || restored.learningModified);
}
