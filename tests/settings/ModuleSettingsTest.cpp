#include "settings/ModuleSettings.h"

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
