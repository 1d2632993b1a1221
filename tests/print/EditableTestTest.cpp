#include "interchange/WordQuestions.h"
#include "print/PrintForm.h"
#include "print/TestPrinter.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/ZipPackage.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The printed test as an OpenDocument text.
class EditableTestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.log.setFilterLevel(4);
        t.ws.createWorkingArchives();
        TestModel &m = t.ws.test;
        m.header.questionCount = 3;
        m.header.answerCount = 3;
        m.header.testName = u"Rośliny łąkowe"_s;
        for (int k = 1; k <= 3; ++k) {
            m.question(k).text = u"Pytanie %1: co rośnie na łące?"_s.arg(k);
            m.question(k).answers = {u"trawa %1"_s.arg(k), u"kamień"_s, u"piasek"_s, {}, {}};
            m.question(k).correct = u"10000"_s;
        }
        // 1200 pixels wide: at 96 to the inch wider than the column, so it is made to fit.
        ASSERT_TRUE(PutStream(u"laka.jpg"_s, JpegFixture::gradientJpeg(1200, 600), *t.ws.workingTest));
        ASSERT_TRUE(PutStream(u"opis.txt"_s,
                              Cp1250::fromUnicode(u"Łąka to teren porośnięty trawą.\r\nŻyją na niej owady."),
                              *t.ws.workingTest));
        m.question(2).imageName = u"laka.jpg"_s;
        m.question(3).textName = u"opis.txt"_s;
        m.question(3).imageName = u"brak.jpg"_s;
    }

    QString content(const QByteArray &odt)
    {
        ZipPackage p;
        EXPECT_TRUE(p.open(odt)) << p.error().toStdString();
        return QString::fromUtf8(p.read(u"content.xml"_s).value_or(QByteArray()));
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
};

TEST_F(EditableTestTest, VersionsQuestionsPicturesPassagesAndTheKeyOnItsOwnPage)
{
    TestPrinter printer(t.ws.test, *t.ws.workingTest);
    PrintOptions options;
    options.versions = 2;
    options.key = PrintOptions::Key::AfterTest;
    options.seed = 7;
    QByteArray odt;
    const PrintResult result = printer.writeDocument(options, odt);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    const QString xml = content(odt);
    for (const QString &part :
         {u"Rośliny łąkowe – Wersja A"_s, u"Rośliny łąkowe – Wersja B"_s, u"Klucz odpowiedzi – Wersja A"_s,
          u"Klucz odpowiedzi – Wersja B"_s, u"Ziarno losowania: 7"_s, u"Łąka to teren porośnięty trawą."_s,
          u"[Brak obrazu „brak.jpg” w pliku testu.]"_s})
        EXPECT_TRUE(xml.contains(part)) << part.toStdString();
    // The passage in one box of one cell, its lines kept.
    EXPECT_TRUE(xml.contains(u"<text:line-break/>Żyją na niej owady."_s)) << xml.toStdString();
    EXPECT_EQ(xml.count(u"<table:table-cell"_s), 2 + 2 * (3 + 1) * 2); // two boxes, two keys
    // Each version and each key starts a page.
    EXPECT_GE(xml.count(u"fo:break-before=\"page\""_s), 1);
    // The picture once per version, at most the column's width (170 mm).
    EXPECT_EQ(xml.count(u"<draw:image"_s), 2);
    const QRegularExpressionMatch width =
        QRegularExpression(u"svg:width=\"([0-9.]+)(cm|mm|in|pt)\""_s).match(xml);
    ASSERT_TRUE(width.hasMatch()) << xml.toStdString();
    const double factor = width.captured(2) == u"cm"_s   ? 10
                          : width.captured(2) == u"in"_s ? 25.4
                          : width.captured(2) == u"pt"_s ? 25.4 / 72
                                                         : 1;
    EXPECT_GT(width.captured(1).toDouble() * factor, 100);
    EXPECT_LE(width.captured(1).toDouble() * factor, 171);
    // The missing picture is reported once, however many versions name it.
    ASSERT_EQ(result.problems.size(), 1);
    EXPECT_EQ(result.problems[0].question, 3);
}

TEST_F(EditableTestTest, OneVersionReadsBackAsTheSameTest)
{
    t.ws.test.question(3).imageName.clear();
    t.ws.test.question(2).correct = u"00100"_s;
    TestPrinter printer(t.ws.test, *t.ws.workingTest);
    PrintOptions options;
    options.key = PrintOptions::Key::AfterTest;
    QByteArray odt;
    ASSERT_TRUE(printer.writeDocument(options, odt).ok);
    const InterchangeContent back = WordQuestions::read(odt);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    ASSERT_EQ(back.questions.size(), 3);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(back.questions[k].text, t.ws.test.question(k + 1).text);
        EXPECT_EQ(back.questions[k].answers[0], t.ws.test.question(k + 1).answers[0]);
        EXPECT_EQ(back.questions[k].correct[0], k != 1);
    }
    EXPECT_TRUE(back.questions[1].picture.startsWith("\xFF\xD8"));
}

TEST_F(EditableTestTest, ThePrintDialogWritesTheDocumentWhenAsked)
{
    PrintForm form(t.ws);
    form.fill();
    form.editable = true;
    prompts.queueFileName(t.dir.filePath(u"test.odt"_s));
    EXPECT_EQ(form.run(10, 20), PrintForm::Outcome::Close);
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].request.defaultExtension, u"odt"_s);
    EXPECT_EQ(prompts.fileRequests[0].request.fileName, u"Rośliny łąkowe.odt"_s);
    EXPECT_TRUE(PakBytes::readFile(t.dir.filePath(u"test.odt"_s)).startsWith("PK"));
    EXPECT_TRUE(t.logTexts().contains(u"Zapisano test jako dokument ODT."_s))
        << t.logTexts().join(u'\n').toStdString();
    // The missing picture is named before the clock, as for the PDF.
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].text.contains(u"brak.jpg"_s));
    // Back to PDF, the same name with its extension.
    form.editable = false;
    prompts.queueFileName({});
    form.run(0, 0);
    EXPECT_EQ(prompts.fileRequests[1].request.fileName, t.dir.filePath(u"test.pdf"_s));
}

} // namespace
