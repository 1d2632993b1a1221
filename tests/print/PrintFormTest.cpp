#include "print/PrintForm.h"

#include "documents/ListDocuments.h"
#include "storage/ArchiveAccess.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PrintFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.log.setFilterLevel(4);
        t.ws.createWorkingArchives();
        TestModel &m = t.ws.test;
        m.header.questionCount = 2;
        m.header.testName = u"Dzielenie: ułamki / procenty"_s;
        for (int k = 1; k <= 2; ++k) {
            m.question(k).text = u"Ile to jest %1 / 2?"_s.arg(k * 2);
            m.question(k).answers = {u"1"_s, u"2"_s, u"3"_s, {}, {}};
            m.question(k).correct = k == 1 ? u"10000"_s : u"01000"_s;
        }
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    TempWorkspace t;
    ScriptedPrompts prompts;
    PrintForm form{t.ws};
};

TEST_F(PrintFormTest, OptionsStayWithinWhatCanBePrinted)
{
    form.fill();
    form.stepVersions(-1);
    EXPECT_EQ(form.versions, 1);
    for (int i = 0; i < 40; ++i)
        form.stepVersions(+1);
    EXPECT_EQ(form.versions, 26);

    form.setKeyOnly(true);
    EXPECT_TRUE(form.key);
    EXPECT_EQ(form.options().key, PrintOptions::Key::Only);
    form.setKey(false);
    EXPECT_FALSE(form.keyOnly);
    EXPECT_EQ(form.options().key, PrintOptions::Key::None);

    for (const auto &[text, valid] : {std::pair{u""_s, true},
                                      {u"  42 "_s, true},
                                      {u"4294967295"_s, true},
                                      {u"4294967296"_s, false},
                                      {u"-1"_s, false},
                                      {u"12a"_s, false}}) {
        form.seedText = text;
        EXPECT_EQ(form.seedValid(), valid) << text.toStdString();
    }
    form.seedText = u"42"_s;
    EXPECT_EQ(form.options().seed, 42u);
    form.fill();
    EXPECT_EQ(form.versions, 1);
    EXPECT_FALSE(form.options().seed.has_value());
}

TEST_F(PrintFormTest, PrintsToTheChosenFileAndShowsTheClock)
{
    form.fill();
    form.stepVersions(+1);
    form.setKey(true);
    prompts.queueFileName(file(u"wydruk.pdf"_s));
    EXPECT_EQ(form.run(300, 200), PrintForm::Outcome::Close);
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_TRUE(prompts.fileRequests[0].save);
    EXPECT_EQ(prompts.fileRequests[0].request.defaultExtension, u"pdf"_s);
    // The test's name as the file name, without the folder separator it holds.
    EXPECT_EQ(prompts.fileRequests[0].request.fileName, u"Dzielenie_ ułamki _ procenty.pdf"_s);
    EXPECT_TRUE(PakBytes::readFile(file(u"wydruk.pdf"_s)).startsWith("%PDF"));
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>({{300, 200}}));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(form.lastResult().plan.versions.size(), 2);
    const QString logged =
        u"Wydrukowano test do pliku PDF (ziarno losowania %1)."_s.arg(form.lastResult().plan.seed);
    EXPECT_TRUE(t.logTexts().contains(logged)) << t.logTexts().join(u'\n').toStdString();

    // The next time the same file is proposed.
    prompts.queueFileName({});
    EXPECT_EQ(form.run(0, 0), PrintForm::Outcome::StayOpen);
    EXPECT_EQ(prompts.fileRequests[1].request.fileName, file(u"wydruk.pdf"_s));
    EXPECT_EQ(prompts.clockPositions.size(), 1);
}

TEST_F(PrintFormTest, AFailureIsToldAndTheDialogStays)
{
    form.fill();
    form.seedText = u"dwa"_s;
    EXPECT_EQ(form.run(0, 0), PrintForm::Outcome::StayOpen);
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Wpisz ziarno losowania"_s));
    EXPECT_TRUE(prompts.fileRequests.isEmpty());

    form.seedText.clear();
    prompts.queueFileName(file(u"brak/wydruk.pdf"_s));
    EXPECT_EQ(form.run(0, 0), PrintForm::Outcome::StayOpen);
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Nie udało się wydrukować testu"_s));
    EXPECT_EQ(prompts.messages.last().icon, MessageIcon::WarningIcon);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(file(u"brak"_s)));
    EXPECT_TRUE(t.logTexts().last().startsWith(u"Drukowanie. Błąd zapisu pliku PDF: "_s));
}

TEST_F(PrintFormTest, AttachmentsPrintedAsNotesAreNamedBeforeTheClock)
{
    t.ws.test.question(2).imageName = u"ZNIKNIETY.JPG"_s;
    form.fill();
    form.outputPath = file(u"wydruk.pdf"_s);
    EXPECT_EQ(form.print(10, 20), PrintForm::Outcome::Close);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].text.endsWith(u"\rpytanie 2: obraz „ZNIKNIETY.JPG”"_s))
        << prompts.messages[0].text.toStdString();
    EXPECT_EQ(prompts.clockPositions.size(), 1);
}

// Answer sheets, blank or for a class of a student list: the list's classes are offered and each
// pupil gets a booklet and a named sheet; a list that cannot be read and a class without pupils are
// said; sheets and the editable document exclude each other.
TEST_F(PrintFormTest, AnswerSheetsBlankOrForAClassOfAStudentList)
{
    StudentList list;
    list.reset();
    SchoolClass pupils;
    pupils.name = u"2c"_s;
    pupils.students = {{u"Zofia"_s, u"Żółć"_s}, {u"Jan"_s, u"Kowal"_s}, {u"Ewa"_s, u"Nowak"_s}};
    SchoolClass none;
    none.name = u"2d"_s;
    list.classes = {pupils, none};
    const QString sku = file(u"klasy.sku"_s);
    ASSERT_TRUE(WriteStudentList(t.ws, sku, list));

    form.fill();
    form.setEditable(true);
    form.setSheets(true);
    EXPECT_FALSE(form.editable);
    EXPECT_EQ(form.classChoices().size(), 1) << "blank sheets only, before a list is chosen";
    prompts.queueFileName(file(u"blank.pdf"_s));
    ASSERT_EQ(form.run(0, 0), PrintForm::Outcome::Close);
    const int blankPages = form.lastResult().pages; // one booklet and one blank sheet
    EXPECT_GE(blankPages, 2);

    const QString broken = file(u"zepsuta.sku"_s);
    ASSERT_TRUE(PakBytes::writeFile(broken, "to nie jest lista"));
    prompts.queueFileName(broken);
    form.chooseStudentList();
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Nie udało się odczytać listy uczniów\rzepsuta.sku"_s));
    EXPECT_EQ(form.classIndex, -1);

    prompts.queueFileName(sku);
    form.chooseStudentList();
    EXPECT_EQ(form.classChoices(),
              QStringList({u"bez nazwisk (karty do powielenia)"_s, u"2c (uczniów: 3)"_s, u"2d (uczniów: 0)"_s}));
    EXPECT_EQ(form.classIndex, 0);
    prompts.queueFileName(file(u"klasa.pdf"_s));
    ASSERT_EQ(form.run(0, 0), PrintForm::Outcome::Close);
    EXPECT_EQ(form.lastResult().pages, 3 * blankPages);
    EXPECT_TRUE(t.logTexts().contains(u"Wydrukowano test z kartami odpowiedzi do pliku PDF."_s))
        << t.logTexts().join(u'\n').toStdString();

    const int asked = static_cast<int>(prompts.fileRequests.size());
    form.chooseClass(1);
    EXPECT_EQ(form.run(0, 0), PrintForm::Outcome::StayOpen);
    EXPECT_EQ(prompts.lastMessageText(), u"Klasa 2d nie ma uczniów.\rWybierz inną klasę albo karty bez nazwisk."_s);
    EXPECT_EQ(prompts.fileRequests.size(), asked) << "no file is asked for";

    form.setEditable(true);
    EXPECT_FALSE(form.sheets);
}

} // namespace
