// Writes the seed corpus of every fuzz target: small sound documents of each kind made by the
// program's own writers (and, for the old formats, by hand as the tests make them), plus the hostile
// inputs found by hand, so the fuzzer starts from inputs that reach deep into each reader.
//   build/bin/fuzz_seed_corpus fuzz/corpus
#include "DocumentJson.h"
#include "core/EditorSettings.h"
#include "core/Workspace.h"
#include "settings/ModuleSettings.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/FieldCoding.h"
#include "documents/ListDocuments.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "storage/TpkXML.h"
#include "support/DocumentFixtures.h"
#include "support/GifFixture.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/WordFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;
using DocumentFixtures::codedLines;

namespace {

class Seeds {
public:
    explicit Seeds(const QString &root) : m_root(root)
    {
        ws.setUpFoldersAndPaths(m_work.path());
        ws.setProgramFolder(m_work.path());
        ws.rng.seed(13);
        ws.createWorkingArchives();
    }

    void put(const QString &target, const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(m_root + u'/' + target);
        PakBytes::writeFile(m_root + u'/' + target + u'/' + name, bytes);
    }
    // A document written by the program's writer into the work folder, then stored as a seed.
    QByteArray written(const QString &name) { return PakBytes::readFile(work(name)); }
    QString work(const QString &name) const { return m_work.filePath(name); }

    Workspace ws;

private:
    QTemporaryDir m_work;
    QString m_root;
};

QByteArray deepChains(int chains)
{
    QByteArray chain;
    for (int i = 0; i < TpkXML::kMaxDepth; ++i)
        chain += "<a>";
    for (int i = 0; i < TpkXML::kMaxDepth; ++i)
        chain += "</a>";
    QByteArray xml = "<Ini>";
    for (int i = 0; i < chains; ++i)
        xml += chain;
    return xml + "</Ini>";
}

QByteArray bmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

DocumentSnapshot snapshotOf(DocumentKind kind)
{
    DocumentSnapshot d;
    d.kind = kind;
    return d;
}

void pictures(Seeds &s)
{
    const QImage small = JpegFixture::gradient(8, 6);
    s.put(u"picture"_s, u"baseline.jpg"_s, JpegFixture::gradientJpeg(8, 6));
    s.put(u"picture"_s, u"progressive.jpg"_s,
          JpegFixture::gradientJpeg(8, 6, JpegFixture::Encoding::Progressive));
    s.put(u"picture"_s, u"grey.jpg"_s, JpegFixture::gradientJpeg(8, 6, JpegFixture::Encoding::Grayscale));
    s.put(u"picture"_s, u"cmyk.jpg"_s, JpegFixture::cmykJpeg(4, 4, 10, 20, 30, 40));
    // Found by hand: a few hundred bytes claiming 20 million pixels.
    s.put(u"picture"_s, u"claims-20-megapixels.jpg"_s,
          JpegFixture::withClaimedSize(JpegFixture::gradientJpeg(8, 6), 4500, 4500));
    s.put(u"picture"_s, u"small.gif"_s, GifFixture::encode(small));
    s.put(u"picture"_s, u"small.bmp"_s, bmp(small.convertToFormat(QImage::Format_RGB888)));
}

void test(Seeds &s)
{
    Workspace &ws = s.ws;
    TestModel &m = ws.test;
    m.resetTest();
    m.header.questionCount = 2;
    m.header.answerCount = 4;
    m.header.testName = u"Ułamki"_s;
    m.header.author = u"Pani Łucja"_s;
    m.header.gradingOn = 1;
    for (int k = 1; k <= 2; ++k) {
        Question &q = m.question(k);
        q.text = u"Ile to %1/2 + 1/2?"_s.arg(k);
        q.answers = {u"1"_s, u"2"_s, u"3/2"_s, u"0"_s, {}};
        q.correct = k == 1 ? u"10000"_s : u"01000"_s;
        q.unfinished = 0;
    }
    m.question(1).imageName = u"obraz.jpg"_s;
    m.question(2).textName = u"opis.txt"_s;
    m.question(2).comment = u"komentarz"_s;
    DeleteAllMembers(*ws.workingTest);
    PutStream(u"obraz.jpg"_s, JpegFixture::gradientJpeg(8, 6), *ws.workingTest);
    PutStream(u"opis.txt"_s, "Tekst \xb9\xea\r\n", *ws.workingTest);
    WriteTestDocument(ws, s.work(u"t.skt"_s));
    s.put(u"test"_s, u"two-questions.skt"_s, s.written(u"t.skt"_s));
    s.put(u"pack"_s, u"test.skt"_s, s.written(u"t.skt"_s));
    DocumentSnapshot d = snapshotOf(DocumentKind::Test);
    d.test = m;
    d.members = {{u"obraz.jpg"_s, -1, u"obraz.jpg"_s}, {u"opis.txt"_s, -1, u"opis.txt"_s}};
    s.put(u"import_json"_s, u"test.json"_s, DocumentJson::toJson(d));

    TpkXML xml;
    DocumentFixtures::loadMember(s.work(u"t.skt"_s), u"Serr0.xml"_s, xml);
    s.put(u"xml"_s, u"test.xml"_s, xml.SaveToBytes());
    s.put(u"coding"_s, u"test.xml"_s, xml.SaveToBytes());
    xml.options.unicodeOutput = true;
    s.put(u"xml"_s, u"test-utf16.xml"_s, xml.SaveToBytes());
}

void question(Seeds &s)
{
    Workspace &ws = s.ws;
    SingleQuestion &q = ws.question;
    q.resetSingleQuestion();
    q.answerCount = 3;
    q.text = u"Stolica Polski?"_s;
    q.answers = {u"Warszawa"_s, u"Kraków"_s, u"Gniezno"_s, {}, {}};
    q.correct = u"10000"_s;
    q.imageName = u"mapa.gif"_s;
    DeleteAllMembers(*ws.workingQuestion);
    PutStream(u"mapa.gif"_s, GifFixture::encode(JpegFixture::gradient(6, 4)), *ws.workingQuestion);
    WriteQuestionDocument(ws, s.work(u"q.skq"_s), *ws.workingQuestion);
    s.put(u"question"_s, u"with-picture.skq"_s, s.written(u"q.skq"_s));
    DocumentSnapshot d = snapshotOf(DocumentKind::Question);
    d.question = q;
    s.put(u"import_json"_s, u"question.json"_s, DocumentJson::toJson(d));
}

void lists(Seeds &s)
{
    Workspace &ws = s.ws;
    const QStringList entries{u"0|Klasa 5|"_s, u"1|Ułamki|/testy/ulamki.skt"_s, u"1|Procenty|/testy/p.skt"_s};
    WriteTestList(ws, s.work(u"l.skg"_s), {u"A"_s, u"2024-01-01"_s, u"uwagi"_s}, entries);
    WriteSetList(ws, s.work(u"l.skz"_s), {u"B"_s, u"2024-01-02"_s, {}}, entries);
    s.put(u"test_list"_s, u"v40.skg"_s, s.written(u"l.skg"_s));
    s.put(u"set_list"_s, u"v40.skz"_s, s.written(u"l.skz"_s));
    for (const auto &[target, member] :
         {std::pair{u"test_list"_s, "Selt0.txp"}, std::pair{u"set_list"_s, "Selz0.txp"}})
        s.put(target, u"v35"_s,
              PakBytes::archive({{member, codedLines(QStringList{u"x"_s} + entries, ws.rng)}}));
    DocumentSnapshot d = snapshotOf(DocumentKind::TestList);
    d.listInfo = {u"A"_s, u"2024-01-01"_s, {}};
    d.entries = entries;
    s.put(u"import_json"_s, u"test-list.json"_s, DocumentJson::toJson(d));

    StudentList list;
    list.reset();
    list.author = u"Pani Łucja"_s;
    SchoolClass a;
    a.name = u"5a"_s;
    a.gradingOn = 1;
    a.students = {{u"Żaneta"_s, u"Ćwik"_s}, {u"Jan"_s, u"Nowak"_s}};
    SchoolClass b;
    b.name = u"6b"_s;
    list.classes = {a, b};
    WriteStudentList(ws, s.work(u"u.sku"_s), list);
    s.put(u"student_list"_s, u"v40.sku"_s, s.written(u"u.sku"_s));
    d = snapshotOf(DocumentKind::StudentList);
    d.students = list;
    s.put(u"import_json"_s, u"student-list.json"_s, DocumentJson::toJson(d));

    const QByteArray classA =
        codedLines({u"5a"_s, u""_s, u"C:\\Wyniki"_s, u"40"_s, u"Jan Nowak"_s, u"Ewa Lis"_s}, ws.rng);
    const QByteArray classB = codedLines({u"6b"_s, u""_s, u""_s, u"0"_s}, ws.rng);
    s.put(u"student_list"_s, u"v35"_s,
          PakBytes::archive({{"Selu0.txp", codedLines({u"x"_s, u"y"_s, u"5a"_s, u"6b"_s}, ws.rng)},
                             {"5a.txp", classA},
                             {"6b.txp", classB}}));
    // Found by hand: an index naming one class again and again.
    QStringList repeated{u"x"_s, u"y"_s};
    for (int i = 0; i < 64; ++i)
        repeated << u"5a"_s;
    s.put(u"student_list"_s, u"v35-repeated-index"_s,
          PakBytes::archive({{"Selu0.txp", codedLines(repeated, ws.rng)}, {"5a.txp", classA}}));
}

void settings(Seeds &s)
{
    Workspace &ws = s.ws;
    WriteDefaultEditorSettings(ws);
    const QByteArray editor = PakBytes::readFile(ws.paths.iniPath);
    s.put(u"settings"_s, u"Edycja.ini"_s, editor);
    s.put(u"xml"_s, u"Edycja.ini"_s, editor);
    s.put(u"coding"_s, u"Edycja.ini"_s, editor);
    TestingModuleSettings testing;
    testing.sct = u"/listy/testy.skg"_s;
    WriteTestingModuleSettings(ws, s.work(u"Test.ini"_s), testing);
    s.put(u"settings"_s, u"Test.ini"_s, s.written(u"Test.ini"_s));
    WriteLearningModuleSettings(ws, s.work(u"Nauka.ini"_s), LearningModuleSettings{});
    s.put(u"settings"_s, u"Nauka.ini"_s, s.written(u"Nauka.ini"_s));
    DocumentSnapshot d = snapshotOf(DocumentKind::TestModuleSettings);
    d.settings = {{u"sct"_s, u"/listy/testy.skg"_s}, {u"al"_s, u"1"_s}};
    s.put(u"import_json"_s, u"test-module.json"_s, DocumentJson::toJson(d));
    // Found by hand: a settings file as deep as a load allows, which saved back quadratically.
    s.put(u"settings"_s, u"deep-chains.ini"_s, deepChains(4));
    s.put(u"xml"_s, u"deep-chains.xml"_s, deepChains(2));

    s.put(u"coding"_s, u"setting"_s, EncodeSetting(Cp1250::fromUnicode(u"Wartość"_s), ws.rng));
    s.put(u"coding"_s, u"setting-old"_s, DocumentFixtures::encodeOld(u"Stara wartość"_s));
    s.put(u"coding"_s, u"wide"_s, EncodeWide(u"Zażółć gęślą jaźń"_s).toLatin1());
}

void xmlForms(Seeds &s)
{
    s.put(u"xml"_s, u"forms.xml"_s,
          "<?xml version=\"1.0\" encoding=\"WINDOWS-1250\"?>\r\n<!DOCTYPE x>\r\n<!-- uwaga -->\r\n"
          "<a b=\"1\" c='&amp;&lt;'><![CDATA[surowe <dane>]]><d/>tekst<e f=\"\"/></a>\r\n");
    QByteArray binary = "<r><&b>";
    binary += PakBytes::int32(3) + "xyz</&b></r>";
    s.put(u"xml"_s, u"binary.xml"_s, binary);
    s.put(u"pack"_s, u"empty.pak"_s, PakBytes::header(12, 0));
    s.put(u"pack"_s, u"three.pak"_s,
          PakBytes::archive({{"a.txt", "alfa"}, {"B.XML", "<b/>"}, {"pusty", ""}}));
}

// Word and Writer tests in the conventions the reader knows, small enough to mutate well.
void wordDocuments(Seeds &s)
{
    using namespace WordFixtures;
    const QByteArray jpeg = JpegFixture::gradientJpeg(8, 8);
    s.put(u"docx"_s, u"hand.docx"_s,
          docx(wpText(u"Sprawdzian"_s) + wpText(u"1. Rzeka?"_s) +
                   wp(wr(u"a) "_s) + wr(u"Wisła"_s, u"<w:b/>"_s)) + wpText(u"b) Odra\tc) Warta*"_s) +
                   wpPicture(1) + wpText(u"Odpowiedź: A"_s) + u"<w:tbl><w:tr><w:tc>"_s + wpText(u"1"_s) +
                   u"</w:tc></w:tr></w:tbl>"_s,
               {}, {{u"image1.jpg"_s, jpeg}}));
    s.put(u"docx"_s, u"numbered.docx"_s,
          docx(wpListed(u"Rzeka?"_s, 1, 0) + wpListed(u"Wisła"_s, 1, 1, u"<w:u/>"_s) +
                   wpListed(u"Odra"_s, 1, 1) + wpListed(u"Warta"_s, 1, 1) + wpText(u"Klucz"_s) +
                   wpText(u"1 – A"_s),
               questionNumbering(), {}, u"<w:style w:styleId=\"T\"><w:name w:val=\"Title\"/></w:style>"_s));
    s.put(u"odt"_s, u"list.odt"_s,
          odt(tp(u"Test"_s, u"T"_s) + u"<text:list text:style-name=\"L\"><text:list-item>"_s +
                  tp(u"Rzeka?"_s) + u"<text:list><text:list-item>"_s + tp(tSpan(u"Wisła"_s, u"B"_s)) +
                  u"</text:list-item><text:list-item>"_s + tp(u"Odra"_s + tPicture(u"a.jpg"_s)) +
                  u"</text:list-item></text:list></text:list-item></text:list>"_s,
              odtStyles(), {{u"a.jpg"_s, jpeg}}));
    s.put(u"odt"_s, u"hand.odt"_s,
          odt(tp(u"Zadanie 1. Rzeka?"_s) + tp(u"A) "_s + tSpan(u"Wisła"_s, u"H"_s)) +
                  tp(tText(u"B) Odra\nC) Warta"_s)) + u"<table:table><table:table-row><table:table-cell>"_s +
                  tp(u"1"_s) + u"</table:table-cell></table:table-row></table:table>"_s,
              odtStyles()));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_corpus CORPUS_FOLDER\n");
        return 2;
    }
    Seeds s(QString::fromLocal8Bit(argv[1]));
    pictures(s);
    test(s);
    question(s);
    lists(s);
    settings(s);
    xmlForms(s);
    wordDocuments(s);
    return 0;
}
