#include "core/EditorSettings.h"
#include "settings/ModuleSettings.h"
#include "storage/ArchiveAccess.h"
#include "storage/DocumentLock.h"
#include "storage/FieldCoding.h"
#include "documents/ListDocuments.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "storage/TpkXML.h"
#include "core/StudentList.h"
#include "support/DocumentFixtures.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using DocumentFixtures::codedLines;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QJsonObject parseObject(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n"
                                                     << json.toStdString();
    return doc.object();
}

QByteArray toBytes(const QJsonObject &object)
{
    return QJsonDocument(object).toJson();
}

// The writers store attachments in the order the questions name them, so only the set is compared.
QJsonObject membersSorted(QJsonObject json)
{
    if (!json.contains(u"members"_s))
        return json;
    QJsonArray members = json.value(u"members"_s).toArray();
    QList<QJsonValue> list(members.begin(), members.end());
    std::sort(list.begin(), list.end(), [](const QJsonValue &a, const QJsonValue &b) {
        return a.toObject().value(u"name"_s).toString() < b.toObject().value(u"name"_s).toString();
    });
    QJsonArray sorted;
    for (const QJsonValue &v : std::as_const(list))
        sorted.append(v);
    json.insert(u"members"_s, sorted);
    return json;
}

// Documents of every kind written by the program's own writers (or, for version 35, built by hand),
// and the built `zadanix` run on them.
class DocumentCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = QCoreApplication::applicationDirPath() + u"/zadanix"_s;
        if (!QFileInfo(program).isExecutable())
            GTEST_FAIL() << "build the zadanix target first: " << program.toStdString();
        t.ws.prompts = &prompts;
        t.ws.createWorkingArchives();
    }

    CliResult run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.start(program, arguments);
        if (!input.isEmpty())
            process.write(input);
        process.closeWriteChannel();
        CliResult result;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    QJsonObject exportObject(const QString &name)
    {
        const CliResult r = run({u"export"_s, name});
        EXPECT_EQ(r.exitCode, 0) << name.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        return parseObject(r.out);
    }

    // The JSON with every member given the path of a copy taken out of `document`.
    QJsonObject withMemberFiles(QJsonObject json, const QString &document)
    {
        if (!json.contains(u"members"_s))
            return json;
        TVfsPAK pak;
        EXPECT_TRUE(pak.Open(file(document), TVfsPAK::Mode::ReadOnly));
        QJsonArray members = json.value(u"members"_s).toArray();
        QDir().mkpath(file(u"members"_s));
        for (qsizetype i = 0; i < members.size(); ++i) {
            QJsonObject m = members[i].toObject();
            const QString name = m.value(u"name"_s).toString();
            const QString copy = u"members/"_s + document + u'-' + name;
            EXPECT_TRUE(writeFile(file(copy), pak.Extract(name).value_or(QByteArray())));
            m.insert(u"path"_s, copy);
            members[i] = m;
        }
        json.insert(u"members"_s, members);
        return json;
    }

    // Export, import into `target`, export again; both exports are returned.
    std::pair<QJsonObject, QJsonObject> roundTrip(const QString &document, const QString &target)
    {
        const QJsonObject first = exportObject(document);
        const QString json = target + u".json"_s;
        EXPECT_TRUE(writeFile(file(json), toBytes(withMemberFiles(first, document))));
        const CliResult imported = run({u"import"_s, json, target});
        EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        EXPECT_TRUE(imported.err.isEmpty() && imported.out.isEmpty()) << imported.err.toStdString();
        return {first, exportObject(target)};
    }

    // The export of a copy against the export of its source: only version 40 is written, and a
    // question carries the date it was written.
    static void expectSameDocument(QJsonObject first, QJsonObject second)
    {
        first = membersSorted(first);
        second = membersSorted(second);
        if (first.contains(u"version"_s)) {
            EXPECT_EQ(second.value(u"version"_s).toInt(), 40);
            first.insert(u"version"_s, 40);
        }
        if (first.value(u"kind"_s) == u"question"_s) {
            QJsonObject q1 = first.value(u"question"_s).toObject();
            QJsonObject q2 = second.value(u"question"_s).toObject();
            EXPECT_EQ(q2.take(u"savedAt"_s).toString(), QDate::currentDate().toString(u"yyyy/MM/dd"_s));
            q1.remove(u"savedAt"_s);
            first.insert(u"question"_s, q1);
            second.insert(u"question"_s, q2);
        }
        EXPECT_EQ(first, second) << toBytes(first).toStdString() << "\n" << toBytes(second).toStdString();
    }

    // Every attachment of `a` but those left behind is in `b` with the same bytes.
    void expectSameMembers(const QString &a, const QString &b, const QStringList &leftBehind = {})
    {
        TVfsPAK pa;
        TVfsPAK pb;
        ASSERT_TRUE(pa.Open(file(a), TVfsPAK::Mode::ReadOnly));
        ASSERT_TRUE(pb.Open(file(b), TVfsPAK::Mode::ReadOnly));
        for (const QString &name : pa.Names()) {
            if (name.startsWith(u"Se"_s, Qt::CaseInsensitive) || leftBehind.contains(name))
                continue;
            EXPECT_EQ(pa.Extract(name), pb.Extract(name)) << name.toStdString();
        }
    }

    // A version-40 test: a picture two questions share, a text, every header field set.
    QString writeTest(const QString &name)
    {
        TestModel &m = t.ws.test;
        m.resetTest();
        TestHeader &h = m.header;
        h.answerCount = 4;
        h.multipleChoice = 1;
        h.questionCount = 3;
        h.time = 45;
        h.testName = u"Ułamki — sprawdzian"_s;
        h.author = u"Zofia Żółć"_s;
        h.date = u"2023-05-17"_s;
        h.remarks = u"Dwie linie:\r\n<druga> & \"ostatnia\""_s;
        h.gradingOn = 1;
        h.thresholds = {91, 81, 71, 61, 41};
        for (int k = 1; k <= 3; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1: ile to ½ + ¼?"_s.arg(k);
            q.answers = {u"¾"_s, u"1"_s, u"<2>"_s, u"żadna"_s, QString()};
            q.correct = u"10010"_s;
            q.comment = k == 2 ? u"komentarz\ttabulator"_s : QString();
            q.unfinished = 0;
        }
        m.question(1).imageName = u"obraz.JPG"_s;
        m.question(3).imageName = u"obraz.JPG"_s;
        m.question(2).textName = u"opis.TXT"_s;
        EXPECT_TRUE(PutStream(u"obraz.JPG"_s, JpegFixture::gradientJpeg(64, 48), *t.ws.workingTest));
        EXPECT_TRUE(PutStream(u"opis.TXT"_s, QByteArrayView("Tekst do pytania\r\n"), *t.ws.workingTest));
        EXPECT_TRUE(WriteTestDocument(t.ws, file(name)));
        return name;
    }

    QString writeQuestion(const QString &name)
    {
        SingleQuestion &q = t.ws.question;
        q.resetSingleQuestion();
        q.storedName = u"Zbiór A"_s;
        q.multipleChoice = 0;
        q.answerCount = 3;
        q.text = u"Stolica Polski?"_s;
        q.answers = {u"Kraków"_s, u"Warszawa"_s, u"Łódź"_s, QString(), QString()};
        q.correct = u"01000"_s;
        q.imageName = u"mapa.GIF"_s;
        q.textName = u"opis.txt"_s;
        q.comment = u"Od 1596 r."_s;
        DeleteAllMembers(*t.ws.workingQuestion);
        EXPECT_TRUE(PutStream(u"mapa.GIF"_s, QByteArrayView("GIF89a-nie-calkiem"), *t.ws.workingQuestion));
        EXPECT_TRUE(PutStream(u"opis.txt"_s, QByteArrayView("opis"), *t.ws.workingQuestion));
        EXPECT_TRUE(WriteQuestionDocument(t.ws, file(name), *t.ws.workingQuestion));
        return name;
    }

    QString writeArchive(const QString &name, const QList<std::pair<QByteArray, QByteArray>> &members)
    {
        EXPECT_TRUE(writeFile(file(name), PakBytes::archive(members)));
        return name;
    }

    QString writeStudents(const QString &name)
    {
        StudentList list;
        list.reset();
        list.author = u"Sekretariat"_s;
        list.date = u"2024-09-01"_s;
        list.remarks = u"rok szkolny 2024/25"_s;
        SchoolClass a;
        a.name = u"5a"_s;
        a.resultsFolder = u"C:\\Wyniki\\5a"_s;
        a.time = 40;
        a.gradingOn = 1;
        a.thresholds = {95, 85, 70, 50, 30};
        a.students = {{u"Jan"_s, u"Kowalski"_s}, {u"Ewa"_s, u"Nowak-Żak"_s}};
        SchoolClass b;
        b.name = u"6b"_s;
        list.classes = {a, b};
        EXPECT_TRUE(WriteStudentList(t.ws, file(name), list));
        return name;
    }

    // A settings file written key by key, in the order given.
    QString writeSettings(const QString &name, const QList<std::pair<QString, QString>> &values)
    {
        TpkXML xml;
        xml.options.unicodeOutput = false;
        for (const auto &[key, value] : values)
            WriteSettingString(key, value, xml, t.ws.rng);
        EXPECT_TRUE(xml.SaveToFile(file(name)));
        return name;
    }

    // One document of every kind the tool reads, in both versions where the kind has two, each with
    // the name its copy gets.
    struct Sample {
        QString source;
        QString target;
    };
    QList<Sample> writeSamples()
    {
        // Version 35 sources of the kinds that have one.
        QStringList test35{u"opis"_s, u"0"_s, u"2"_s, u"Stary test"_s, u"Jan Łęcki"_s, u"4"_s};
        for (int i = 1; i <= 2; ++i)
            test35 << u"Treść %1"_s.arg(i) << u"a"_s << u"b"_s << u"c"_s << u"d"_s << u"0100"_s
                   << (i == 1 ? u"plik.TXT"_s : QString()) << u"rys.BMP"_s << QString();
        writeArchive(u"stary.skt"_s, {{"Serr0.txp", codedLines(test35, t.ws.rng, true)},
                                      {"rys.BMP", "BM-obraz"},
                                      {"plik.TXT", "tekst"}});
        writeArchive(u"stare.skq"_s, {{"Sezz0.txp", codedLines({u"Opis pliku"_s, u"Zbiór B"_s, u"1"_s, u"4"_s,
                                                                u"Treść?"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s,
                                                                u"1100"_s, u""_s, u"mapa.BMP"_s, u"kom"_s},
                                                               t.ws.rng)},
                                      {"mapa.BMP", "BM"}});
        writeArchive(
            u"stara.skg"_s,
            {{"Selt0.txp", codedLines({u"nagłówek"_s, u"Test*a.skt"_s, u"Test*b.skt"_s}, t.ws.rng)}});
        writeArchive(
            u"stara.sku"_s,
            {{"Selu0.txp", codedLines({u"x"_s, u"y"_s, u"5a"_s}, t.ws.rng)},
             {"5a.txp", codedLines({u"5a"_s, u""_s, u"C:\\W"_s, u"40"_s, u"Jan Maria Rokita"_s}, t.ws.rng)}});

        const ListInfo info{u"Autor listy"_s, u"2024-01-02"_s, u"uwagi"_s};
        EXPECT_TRUE(WriteTestList(t.ws, file(u"lista.skg"_s), info, {u"Klasa 5@*0"_s, u"Test*c:\\a.skt"_s}));
        EXPECT_TRUE(WriteSetList(t.ws, file(u"zestawy.SKZ"_s), info, {}));

        TestingModuleSettings testing;
        testing.sct = u"C:\\Listy\\testy.skg"_s;
        testing.fn = true;
        testing.thresholds = {96, 86, 71, 51, 31};
        testing.wo = 1;
        testing.dfpz = 3;
        testing.trc = 0;
        EXPECT_TRUE(WriteTestingModuleSettings(t.ws, file(u"Test.ini"_s), testing));
        EXPECT_TRUE(WriteLearningModuleSettings(t.ws, file(u"Nauka.INI"_s), LearningModuleSettings{}));
        t.ws.paths.iniPath = file(u"Edycja.ini"_s);
        t.ws.settings.dft = 30;
        t.ws.settings.al = false;
        EXPECT_TRUE(SaveEditorSettings(t.ws));
        // Keys in an order of their own, with one the editor does not know.
        writeSettings(u"obca.ini"_s, {{u"ed"_s, u"Nauka"_s},
                                      {u"wo"_s, u"2"_s},
                                      {u"voi"_s, u"1"_s},
                                      {u"inny"_s, u"wartość ze spacjami"_s},
                                      {u"rr"_s, u"0"_s},
                                      {u"rq"_s, u"1"_s},
                                      {u"al"_s, u"0"_s},
                                      {u"sct"_s, u""_s}});

        return {
            {writeTest(u"test.skt"_s), u"nowy.skt"_s},
            {u"stary.skt"_s, u"nowy35.SKT"_s},
            {writeQuestion(u"pytanie.skq"_s), u"nowe.skq"_s},
            {u"stare.skq"_s, u"nowe35.skq"_s},
            {u"lista.skg"_s, u"nowa.skg"_s},
            {u"stara.skg"_s, u"nowa35.skg"_s},
            {u"zestawy.SKZ"_s, u"nowe.skz"_s},
            {writeStudents(u"uczniowie.sku"_s), u"nowa.sku"_s},
            {u"stara.sku"_s, u"nowa35.sku"_s},
            {u"Test.ini"_s, u"nowy-test.ini"_s},
            {u"Nauka.INI"_s, u"nowa-nauka.ini"_s},
            {u"Edycja.ini"_s, u"nowa-edycja.ini"_s},
            {u"obca.ini"_s, u"nowa-obca.ini"_s},
        };
    }

    QString program;
    TempWorkspace t;
    ScriptedPrompts prompts;
};

// One line on standard error, naming `named`, and nothing on standard output.
void expectFailureLine(const CliResult &r, const QString &named)
{
    EXPECT_EQ(r.exitCode, 1);
    const QString err = QString::fromUtf8(r.err);
    EXPECT_TRUE(err.startsWith(u"zadanix: "_s)) << err.toStdString();
    EXPECT_TRUE(err.contains(named)) << err.toStdString();
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
}

} // namespace

TEST_F(DocumentCli, ExportThenImportReadsTheSameForEveryKind)
{
    const QList<Sample> cases = writeSamples();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        auto [exported, reexported] = roundTrip(c.source, c.target);
        ASSERT_FALSE(exported.isEmpty());
        expectSameDocument(exported, reexported);
        if (c.source.endsWith(u".skt"_s) || c.source.endsWith(u".skq"_s))
            expectSameMembers(c.source, c.target);
        EXPECT_EQ(run({u"check"_s, c.target}).exitCode, 0);
    }

    // What the export shows of some documents, checked against their sources.
    const QJsonObject test = exportObject(u"test.skt"_s);
    EXPECT_EQ(test.value(u"header"_s).toObject().value(u"testName"_s).toString(), u"Ułamki — sprawdzian"_s);
    EXPECT_EQ(test.value(u"header"_s).toObject().value(u"thresholds"_s).toArray(),
              (QJsonArray{91, 81, 71, 61, 41}));
    EXPECT_EQ(test.value(u"questions"_s).toArray().size(), 3);
    EXPECT_EQ(test.value(u"members"_s).toArray().size(), 2);
    const QJsonObject old = exportObject(u"stary.skt"_s);
    EXPECT_EQ(old.value(u"version"_s).toInt(), 35);
    EXPECT_EQ(old.value(u"questions"_s).toArray()[0].toObject().value(u"textName"_s).toString(),
              u"plik.TXT"_s);
    const QJsonObject students = exportObject(u"stara.sku"_s);
    EXPECT_EQ(students.value(u"totalStudents"_s).toInt(), 1);
    EXPECT_EQ(students.value(u"classes"_s).toArray()[0].toObject().value(u"students"_s).toArray()[0],
              (QJsonObject{{u"firstName"_s, u"Jan"_s}, {u"surname"_s, u"Maria Rokita"_s}}));
}

TEST_F(DocumentCli, SettingsKeepTheirFileOrder)
{
    writeSettings(u"obca.ini"_s, {{u"ed"_s, u"Nauka"_s},
                                  {u"wo"_s, u"2"_s},
                                  {u"voi"_s, u"1"_s},
                                  {u"inny"_s, u"x"_s},
                                  {u"rr"_s, u"0"_s},
                                  {u"rq"_s, u"1"_s},
                                  {u"al"_s, u"0"_s},
                                  {u"sct"_s, u""_s}});
    const CliResult r = run({u"export"_s, u"obca.ini"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<qsizetype> positions;
    for (const char *key :
         {"\"ed\"", "\"wo\"", "\"voi\"", "\"inny\"", "\"rr\"", "\"rq\"", "\"al\"", "\"sct\""})
        positions << r.out.indexOf(key);
    EXPECT_FALSE(positions.contains(-1)) << r.out.toStdString();
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << r.out.toStdString();
    EXPECT_EQ(parseObject(r.out).value(u"kind"_s).toString(), u"learningModuleSettings"_s);

    // An import writes the keys of the kind in their own order, the others after them.
    ASSERT_TRUE(writeFile(file(u"obca.json"_s), r.out));
    ASSERT_EQ(run({u"import"_s, u"obca.json"_s, u"nowa.ini"_s}).exitCode, 0);
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromFile(file(u"nowa.ini"_s)));
    EXPECT_EQ(DocumentFixtures::childNames(xml.DocumentChild(u"Ini")),
              (QStringList{u"ed"_s, u"sct"_s, u"al"_s, u"rq"_s, u"rr"_s, u"voi"_s, u"wo"_s, u"inny"_s}));
}

TEST_F(DocumentCli, MembersWithoutAPathAreLeftOut)
{
    writeTest(u"test.skt"_s);
    QJsonObject json = exportObject(u"test.skt"_s);
    QJsonArray members = json.value(u"members"_s).toArray();
    ASSERT_EQ(members.size(), 2);
    // obraz.JPG keeps no path; opis.TXT comes from a file of another name and content.
    ASSERT_TRUE(writeFile(file(u"inny opis.txt"_s), "inny tekst"));
    QJsonObject text = members[1].toObject();
    ASSERT_EQ(text.value(u"name"_s).toString(), u"opis.TXT"_s);
    text.insert(u"path"_s, u"inny opis.txt"_s);
    members[1] = text;
    // A member no question names has no place in the document.
    members.append(QJsonObject{{u"name"_s, u"zbedny.txt"_s}, {u"path"_s, u"inny opis.txt"_s}});
    json.insert(u"members"_s, members);

    // A question naming an attachment the JSON does not list at all.
    QJsonArray questions = json.value(u"questions"_s).toArray();
    QJsonObject third = questions[2].toObject();
    third.insert(u"textName"_s, u"brak.txt"_s);
    questions[2] = third;
    json.insert(u"questions"_s, questions);

    // Read from standard input; relative paths then start in the working folder.
    const CliResult r = run({u"import"_s, u"-"_s, u"nowy.skt"_s}, toBytes(json));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Written, but the teacher is told what the test will miss.
    EXPECT_EQ(r.err,
              QByteArray("zadanix: warning: -: member \"obraz.JPG\" has no \"path\"; left out.\n"
                         "zadanix: warning: -: member \"zbedny.txt\" is named by no question; left out.\n"
                         "zadanix: warning: -: the questions name \"brak.txt\", which is not among "
                         "the members.\n"))
        << r.err.toStdString();
    EXPECT_EQ(DocumentFixtures::memberNames(file(u"nowy.skt"_s)),
              (QStringList{u"Serr0.xml"_s, u"opis.TXT"_s}));
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(u"nowy.skt"_s), TVfsPAK::Mode::ReadOnly));
    EXPECT_EQ(pak.Extract(u"opis.txt"), QByteArray("inny tekst"));
    // The questions still name the picture.
    ASSERT_TRUE(ReadTestDocument(t.ws, file(u"nowy.skt"_s)));
    EXPECT_EQ(t.ws.test.question(1).imageName, u"obraz.JPG"_s);
}

TEST_F(DocumentCli, ExportWithMembersGivesAJsonThatImportsWholeThroughAPipe)
{
    writeTest(u"test.skt"_s);
    const CliResult exported = run({u"export"_s, u"--members"_s, u"zalaczniki"_s, u"test.skt"_s});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.err.isEmpty()) << exported.err.toStdString();
    QJsonObject json = parseObject(exported.out);
    const QJsonArray members = json.value(u"members"_s).toArray();
    ASSERT_EQ(members.size(), 2);
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(u"test.skt"_s), TVfsPAK::Mode::ReadOnly));
    for (const QJsonValue &v : members) {
        const QString name = v.toObject().value(u"name"_s).toString();
        const QString path = v.toObject().value(u"path"_s).toString();
        EXPECT_EQ(path, file(u"zalaczniki/"_s + name));
        EXPECT_EQ(readFile(path), pak.Extract(name).value_or(QByteArray()));
    }

    // Long remarks make the JSON far larger than a pipe holds, so it arrives in many pieces.
    json = exportObject(u"test.skt"_s);
    QJsonObject header = json.value(u"header"_s).toObject();
    header.insert(u"remarks"_s, QString(300000, u'ż'));
    QJsonObject withPaths = parseObject(exported.out);
    withPaths.insert(u"header"_s, header);
    const CliResult imported = run({u"import"_s, u"-"_s, u"kopia.skt"_s}, toBytes(withPaths));
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.isEmpty()) << imported.err.toStdString();
    json.insert(u"header"_s, header);
    EXPECT_EQ(membersSorted(exportObject(u"kopia.skt"_s)), membersSorted(json));
    expectSameMembers(u"test.skt"_s, u"kopia.skt"_s);

    // A member name that would leave the folder is not extracted.
    writeArchive(u"zly.skq"_s,
                 {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><ilo>3</ilo></pyt>"}, {"../uciekinier.txt", "x"}});
    const CliResult unsafe = run({u"export"_s, u"--members"_s, u"zalaczniki"_s, u"zly.skq"_s});
    EXPECT_EQ(unsafe.exitCode, 0) << unsafe.err.toStdString();
    EXPECT_TRUE(unsafe.err.contains("\"../uciekinier.txt\" is not a plain file name"))
        << unsafe.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file(u"uciekinier.txt"_s)));
    EXPECT_FALSE(parseObject(unsafe.out).value(u"members"_s).toArray()[0].toObject().contains(u"path"_s));
}

TEST_F(DocumentCli, EverySampleComesBackThroughExportWithMembersAndImport)
{
    QList<Sample> samples = writeSamples();
    // A test with a text whose name fills all 120 bytes of the field, as another program may store it:
    // it reads and exports, but no archive can take the name back, so the copy leaves it behind.
    const QString longName = QString(116, u'd') + u".txt"_s;
    writeTest(u"dlugi.skt"_s);
    t.ws.test.question(3).textName = longName;
    ASSERT_TRUE(WriteTestDocument(t.ws, file(u"dlugi.skt"_s)));
    {
        TVfsPAK pak;
        ASSERT_TRUE(pak.Open(file(u"dlugi.skt"_s), TVfsPAK::Mode::ReadOnly));
        QList<std::pair<QByteArray, QByteArray>> members;
        for (int i = 0; i < pak.entries().size(); ++i)
            members.append({pak.entries()[i].name.toLatin1(), pak.extractAt(i).value_or(QByteArray())});
        members.append({longName.toLatin1(), "długi tekst"});
        writeArchive(u"dlugi.skt"_s, members);
    }
    samples.append({u"dlugi.skt"_s, u"nowy-dlugi.skt"_s});

    for (const Sample &c : samples) {
        SCOPED_TRACE(c.source.toStdString());
        const CliResult exported = run({u"export"_s, u"--members"_s, c.source + u"-zalaczniki"_s, c.source});
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        EXPECT_TRUE(exported.err.isEmpty()) << exported.err.toStdString();
        const CliResult imported = run({u"import"_s, u"-"_s, c.target}, exported.out);
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

        // What the copy should hold: the members without their files, less those left behind, each
        // named once in a warning.
        QJsonObject expected = parseObject(exported.out);
        QStringList leftBehind;
        QByteArray warnings;
        if (expected.contains(u"members"_s)) {
            QJsonArray kept;
            for (const QJsonValue &v : expected.value(u"members"_s).toArray()) {
                QJsonObject m = v.toObject();
                EXPECT_TRUE(m.contains(u"path"_s)) << m.value(u"name"_s).toString().toStdString();
                m.remove(u"path"_s);
                const QString name = m.value(u"name"_s).toString();
                if (name.size() < 120) {
                    kept.append(m);
                    continue;
                }
                leftBehind << name;
                warnings += "zadanix: warning: -: member \"" + name.toUtf8() +
                            "\": its name fills all 120 bytes, which cannot be written; left out.\n";
            }
            expected.insert(u"members"_s, kept);
        }
        EXPECT_EQ(imported.err, warnings);
        expectSameDocument(expected, exportObject(c.target));
        if (c.source.endsWith(u".skt"_s, Qt::CaseInsensitive) ||
            c.source.endsWith(u".skq"_s, Qt::CaseInsensitive))
            expectSameMembers(c.source, c.target, leftBehind);
        EXPECT_EQ(run({u"check"_s, c.target}).exitCode, 0);
        if (c.source == u"dlugi.skt"_s) {
            EXPECT_EQ(leftBehind, QStringList{longName});
        }
    }
}

TEST_F(DocumentCli, FailuresTakeOneLineAndLostOutputFails)
{
    writeTest(u"test.skt"_s);
    // Texts from the user's files never break the one line a failure takes.
    ASSERT_TRUE(writeFile(file(u"zly.json"_s), "{\"kind\": \"te\\nst\", \"version\": 40}"));
    ASSERT_TRUE(QDir(t.dir.path()).mkdir(u"folder.json"_s));
    const std::pair<QStringList, QByteArray> failures[] = {
        {{u"import"_s, u"zly.json"_s, u"x.skt"_s}, "zadanix: zly.json: "},
        {{u"import"_s, u"folder.json"_s, u"x.skt"_s}, "zadanix: folder.json: is a folder.\n"},
    };
    for (const auto &[args, start] : failures) {
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(start)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }

    // A summary that cannot be written is a failure.
    for (const QString &command : {u"show"_s, u"check"_s, u"export"_s}) {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.setStandardOutputFile(u"/dev/full"_s);
        process.start(program, {command, u"test.skt"_s});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 1) << command.toStdString();
        EXPECT_EQ(process.readAllStandardError(), QByteArray("zadanix: cannot write to standard output.\n"));
    }
}

TEST_F(DocumentCli, DocumentOpenInAnEditorIsNotWritten)
{
    writeTest(u"test.skt"_s);
    const QByteArray json = run({u"export"_s, u"test.skt"_s}).out;
    ASSERT_TRUE(writeFile(file(u"t.json"_s), json));
    ASSERT_TRUE(writeFile(file(u"dodatek.txt"_s), "x"));
    const QByteArray before = readFile(file(u"test.skt"_s));
    DocumentLock editor;
    ASSERT_EQ(editor.lock(file(u"test.skt"_s)), DocumentLock::Result::Locked);
    const QStringList writers[] = {
        {u"import"_s, u"t.json"_s, u"test.skt"_s},
        {u"pack"_s, u"add"_s, u"test.skt"_s, u"dodatek.txt"_s},
        {u"pack"_s, u"delete"_s, u"test.skt"_s, u"Serr0.xml"_s},
        {u"pack"_s, u"create"_s, u"--force"_s, u"test.skt"_s},
    };
    for (const QStringList &args : writers) {
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_EQ(r.err, "zadanix: test.skt: the file is in use by another program.\n")
            << r.err.toStdString();
        EXPECT_EQ(readFile(file(u"test.skt"_s)), before);
    }
    editor.release();
    EXPECT_EQ(run(writers[0]).exitCode, 0);
}

TEST_F(DocumentCli, HostileJsonIsRefusedWithoutWritingAnything)
{
    writeTest(u"test.skt"_s);
    writeStudents(u"uczniowie.sku"_s);
    const QJsonObject test = exportObject(u"test.skt"_s);
    const QJsonObject students = exportObject(u"uczniowie.sku"_s);
    const QJsonObject testing{{u"kind"_s, u"testModuleSettings"_s},
                              {u"values"_s, QJsonObject{{u"ed"_s, u"Tester"_s},
                                                        {u"sct"_s, u""_s},
                                                        {u"scl"_s, u""_s},
                                                        {u"al"_s, u"1"_s},
                                                        {u"fn"_s, u"0"_s},
                                                        {u"opl"_s, u"1"_s},
                                                        {u"chl"_s, u"1"_s},
                                                        {u"woc"_s, u"0"_s},
                                                        {u"sk"_s, u"9585705030"_s},
                                                        {u"wz"_s, u"1"_s}}}};
    // The unchanged forms import: the cases below fail by their change alone.
    ASSERT_TRUE(writeFile(file(u"ok.json"_s), toBytes(testing)));
    ASSERT_EQ(run({u"import"_s, u"ok.json"_s, u"ok.ini"_s}).exitCode, 0);

    using Change = std::function<void(QJsonObject &)>;
    const auto changed = [](QJsonObject json, const QString &part, const Change &change) {
        if (part.isEmpty()) {
            change(json);
        } else {
            QJsonObject inner = json.value(part).toObject();
            change(inner);
            json.insert(part, inner);
        }
        return toBytes(json);
    };
    const auto question = [&](const Change &change) {
        return changed(test, {}, [&](QJsonObject &json) {
            QJsonArray questions = json.value(u"questions"_s).toArray();
            QJsonObject q = questions[0].toObject();
            change(q);
            questions[0] = q;
            json.insert(u"questions"_s, questions);
        });
    };
    const auto member = [&](const QJsonObject &m) {
        return changed(test, {}, [&](QJsonObject &json) { json.insert(u"members"_s, QJsonArray{m}); });
    };
    QJsonArray tooMany = test.value(u"questions"_s).toArray();
    while (tooMany.size() < 46)
        tooMany.append(tooMany[0]);

    const struct {
        const char *label;
        QByteArray json;
        const char *says;
    } cases[] = {
        {"empty file", "", "not valid JSON"},
        {"not JSON", "{\"kind\": \"test\",", "not valid JSON"},
        {"deep nesting", QByteArray(100000, '['), "not valid JSON"},
        {"an array", "[1, 2]", "expected a JSON object"},
        {"unknown kind", R"({"kind": "book"})", "kind"},
        {"kind not a text", R"({"kind": 7})", "kind: expected a text"},
        {"version 41", changed(test, {}, [](QJsonObject &j) { j.insert(u"version"_s, 41); }), "version"},
        {"46 questions",
         changed(test, {},
                 [&](QJsonObject &j) {
                     j.insert(u"questions"_s, tooMany);
                     QJsonObject h = j.value(u"header"_s).toObject();
                     h.insert(u"questionCount"_s, 46);
                     j.insert(u"header"_s, h);
                 }),
         "header.questionCount: 46 is outside 0..45"},
        {"count and questions differ",
         changed(test, u"header"_s, [](QJsonObject &h) { h.insert(u"questionCount"_s, 2); }),
         "questionCount is 2"},
        {"negative count",
         changed(test, u"header"_s, [](QJsonObject &h) { h.insert(u"questionCount"_s, -1); }), "outside"},
        {"four answers", question([](QJsonObject &q) {
             q.insert(u"answers"_s, QJsonArray{u"a"_s, u"b"_s, u"c"_s, u"d"_s});
         }),
         "questions[0].answers: expected 5 answers"},
        {"an answer not a text", question([](QJsonObject &q) {
             q.insert(u"answers"_s, QJsonArray{u"a"_s, u"b"_s, u"c"_s, u"d"_s, 5});
         }),
         "answers[4]: expected a text"},
        {"six thresholds",
         changed(test, u"header"_s,
                 [](QJsonObject &h) {
                     h.insert(u"thresholds"_s, QJsonArray{1, 2, 3, 4, 5, 6});
                 }),
         "header.thresholds: expected 5"},
        {"time as text", changed(test, u"header"_s, [](QJsonObject &h) { h.insert(u"time"_s, u"45"_s); }),
         "header.time: expected a whole number"},
        {"time with a fraction", changed(test, u"header"_s, [](QJsonObject &h) { h.insert(u"time"_s, 4.5); }),
         "header.time: expected a whole number"},
        {"time too large", changed(test, u"header"_s, [](QJsonObject &h) { h.insert(u"time"_s, 1e300); }),
         "header.time"},
        {"author missing", changed(test, u"header"_s, [](QJsonObject &h) { h.remove(u"author"_s); }),
         "\"author\" is missing in header"},
        {"unknown key", question([](QJsonObject &q) { q.insert(u"hint"_s, u"x"_s); }),
         "unknown key \"hint\""},
        {"header not an object", changed(test, {}, [](QJsonObject &j) { j.insert(u"header"_s, 3); }),
         "header: expected an object"},
        {"member name too long", member({{u"name"_s, QString(200, u'n')}, {u"path"_s, u"x"_s}}),
         "members[0].name"},
        {"member named as the document", member({{u"name"_s, u"SERR0.XML"_s}}), "document's own member"},
        {"member without a file", member({{u"name"_s, u"obraz.JPG"_s}, {u"path"_s, u"brak.jpg"_s}}),
         "brak.jpg"},
        {"member named twice",
         changed(test, {},
                 [](QJsonObject &j) {
                     j.insert(u"members"_s, QJsonArray{QJsonObject{{u"name"_s, u"a.txt"_s}},
                                                       QJsonObject{{u"name"_s, u"A.TXT"_s}}});
                 }),
         "named twice"},
        {"students miscounted",
         changed(students, {}, [](QJsonObject &j) { j.insert(u"totalStudents"_s, 5); }), "totalStudents"},
        {"settings key not a name",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"a b"_s, u"1"_s); }), "no key name"},
        {"settings keys differing in case",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"AL"_s, u"1"_s); }), "twice"},
        {"settings of another header",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"ed"_s, u"Nauka"_s); }), "values.ed"},
        {"settings without a flag", changed(testing, u"values"_s, [](QJsonObject &v) { v.remove(u"wz"_s); }),
         "\"wz\" is missing"},
        {"thresholds of six digits",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"sk"_s, u"958570"_s); }), "values.sk"},
        {"a character Windows-1250 lacks",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"sct"_s, u"日本"_s); }),
         "Windows-1250"},
        {"a value too long for the file",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"sct"_s, QString(501, u'x')); }),
         "longer than 500"},
        {"a settings value not a text",
         changed(testing, u"values"_s, [](QJsonObject &v) { v.insert(u"wo"_s, 1); }),
         "values.wo: expected a text"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(writeFile(file(u"zly.json"_s), c.json));
        const bool settings = c.json.contains("\"values\"");
        const QString target = settings                         ? u"wynik.ini"_s
                               : c.json.contains("studentList") ? u"wynik.sku"_s
                                                                : u"wynik.skt"_s;
        const CliResult r = run({u"import"_s, u"zly.json"_s, target});
        expectFailureLine(r, c.says == std::string_view("brak.jpg") ? u"brak.jpg"_s : u"zly.json"_s);
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(file(target)));
    }

    // The target's extension must fit the kind; an existing target is left as it was.
    ASSERT_TRUE(writeFile(file(u"test.json"_s), toBytes(test)));
    ASSERT_TRUE(writeFile(file(u"stary.skq"_s), "stary"));
    expectFailureLine(run({u"import"_s, u"test.json"_s, u"stary.skq"_s}), u"stary.skq"_s);
    EXPECT_EQ(readFile(file(u"stary.skq"_s)), "stary");
    expectFailureLine(run({u"import"_s, u"brak.json"_s, u"x.skt"_s}), u"brak.json"_s);
}

TEST_F(DocumentCli, DamagedDocumentsFailWithTheReadersReason)
{
    writeTest(u"test.skt"_s);
    const QByteArray good = readFile(file(u"test.skt"_s));
    ASSERT_TRUE(writeFile(file(u"obciety.skt"_s), good.first(good.size() / 2)));
    ASSERT_TRUE(writeFile(file(u"smieci.skq"_s), "to nie jest archiwum"));
    ASSERT_TRUE(writeFile(file(u"notatki.txt"_s), "x"));
    ASSERT_TRUE(writeFile(file(u"smieci.ini"_s), "\x01\x02 nie XML"));
    // The editor's reader refuses these, and so does the tool: no window can show such a question.
    writeArchive(u"siedem.skq"_s, {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><ilo>7</ilo><tr>T</tr></pyt>"}});
    writeArchive(u"bez-ilo.skq"_s, {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>1</typ><tr>T</tr></pyt>"}});
    writeArchive(u"typ2.skq"_s, {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>2</typ><ilo>4</ilo><tr>T</tr></pyt>"}});
    writeArchive(u"pusta.skg"_s, {{"inny.xml", "<lst/>"}});
    writeArchive(u"bez-ilw.skz"_s, {{"Selz0.xml", "<lsz><cd>fa</cd><name>x</name></lsz>"}});
    writeSettings(u"inny.ini"_s, {{u"ed"_s, u"Inny"_s}});
    writeSettings(u"krotki.ini"_s, {{u"ed"_s, u"Tester"_s},
                                    {u"sct"_s, {}},
                                    {u"scl"_s, {}},
                                    {u"al"_s, u"1"_s},
                                    {u"fn"_s, u"1"_s},
                                    {u"opl"_s, u"1"_s},
                                    {u"chl"_s, u"1"_s},
                                    {u"woc"_s, u"1"_s},
                                    {u"sk"_s, u"958570"_s},
                                    {u"wz"_s, u"1"_s}});
    writeSettings(u"Edycja.ini"_s, {{u"ed"_s, u"Edytor"_s}, {u"ng"_s, u"1"_s}});

    const struct {
        QString name;
        const char *says;
    } cases[] = {
        {u"brak.skt"_s, "no such file"},
        {u"notatki.txt"_s, "unknown kind"},
        {u"obciety.skt"_s, "Problemy z otwarciem pliku testu. Prawdopodobnie plik jest uszkodzony."},
        {u"smieci.skq"_s, "Odczyt. Błąd wczytywania pliku Sezz0."},
        {u"siedem.skq"_s, "Problemy z otwarciem pliku pytania. Prawdopodobnie plik jest uszkodzony."},
        {u"bez-ilo.skq"_s, "Problemy z otwarciem pliku pytania. Prawdopodobnie plik jest uszkodzony."},
        {u"typ2.skq"_s, "Problemy z otwarciem pliku pytania. Prawdopodobnie plik jest uszkodzony."},
        {u"pusta.skg"_s, "Odczyt listy testów. Błąd wczytania spakowanej zawartości."},
        {u"bez-ilw.skz"_s, "Lista jest uszkodzona. Brak informacji o ilości wpisów."},
        {u"smieci.ini"_s, "Problem z wczytaniem pliku. Plik jest uszkodzony."},
        {u"inny.ini"_s, "header \"Inny\""},
        {u"krotki.ini"_s,
         "Plik jest uszkodzony. Utwórz nowy plik. (Uszkodzony plik Test.ini. Błąd odczytu.)"},
        {u"Edycja.ini"_s, "\"al\" is missing"},
    };
    for (const auto &c : cases) {
        for (const QString &command : {u"check"_s, u"export"_s, u"show"_s}) {
            SCOPED_TRACE((command + u' ' + c.name).toStdString());
            const CliResult r = run({command, c.name});
            expectFailureLine(r, c.name);
            EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        }
    }
    EXPECT_EQ(readFile(file(u"test.skt"_s)), good);
}

TEST_F(DocumentCli, DamagedXmlReadsWithAWarningButDoesNotCheck)
{
    const QByteArray xml =
        "<?xml version=\"1.0\"?><tst><cd>fa</cd><ilp>1</ilp><nmt>Urwany</nmt><pyt1><tr>a</tr>"
        "</pyt1><uwg>uwagi";
    writeArchive(u"urwany.skt"_s, {{"Serr0.xml", xml}});
    const CliResult checked = run({u"check"_s, u"urwany.skt"_s});
    expectFailureLine(checked, u"urwany.skt"_s);
    EXPECT_TRUE(checked.err.contains("Serr0.xml is damaged")) << checked.err.toStdString();

    const CliResult exported = run({u"export"_s, u"urwany.skt"_s});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_TRUE(exported.err.startsWith("zadanix: warning: urwany.skt: Serr0.xml is damaged"))
        << exported.err.toStdString();
    EXPECT_EQ(parseObject(exported.out).value(u"header"_s).toObject().value(u"testName"_s).toString(),
              u"Urwany"_s);

    writeTest(u"test.skt"_s);
    const CliResult clean = run({u"check"_s, u"test.skt"_s});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.out, "test.skt: reads cleanly (test, version 40).\n");
    EXPECT_TRUE(clean.err.isEmpty());
}

TEST_F(DocumentCli, ShowSummarisesTheDocument)
{
    writeTest(u"test.skt"_s);
    writeStudents(u"uczniowie.sku"_s);
    const CliResult test = run({u"show"_s, u"test.skt"_s});
    ASSERT_EQ(test.exitCode, 0) << test.err.toStdString();
    const QString out = QString::fromUtf8(test.out);
    for (const QString &line :
         {u"Kind:          test, version 40"_s, u"Title:         Ułamki — sprawdzian"_s,
          u"Author:        Zofia Żółć"_s, u"Questions:     3, 4 answers each, multiple choice"_s,
          u"Grading scale: 91 81 71 61 41"_s, u"Attachments:   2 ("_s, u"  obraz.JPG  "_s,
          u"  opis.TXT  18 bytes"_s})
        EXPECT_TRUE(out.contains(line)) << line.toStdString() << "\n" << out.toStdString();

    const CliResult students = run({u"show"_s, u"uczniowie.sku"_s});
    ASSERT_EQ(students.exitCode, 0);
    const QString listed = QString::fromUtf8(students.out);
    EXPECT_TRUE(listed.contains(u"Students:      2\n  5a: 2 students\n  6b: 0 students\n"_s))
        << listed.toStdString();

    // Names are shown as they are, "%1" included.
    StudentList list;
    list.reset();
    SchoolClass c;
    c.name = u"klasa %1"_s;
    c.students = {{u"Ola"_s, u"Nowak"_s}};
    list.classes = {c};
    ASSERT_TRUE(WriteStudentList(t.ws, file(u"procent.sku"_s), list));
    writeArchive(u"procent.skq"_s,
                 {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><ilo>3</ilo></pyt>"}, {"%1x.txt", "abc"}});
    const QString names = QString::fromUtf8(run({u"show"_s, u"procent.sku"_s}).out) +
                          QString::fromUtf8(run({u"show"_s, u"procent.skq"_s}).out);
    EXPECT_TRUE(names.contains(u"  klasa %1: 1 student\n"_s)) << names.toStdString();
    EXPECT_TRUE(names.contains(u"  %1x.txt  3 bytes\n"_s)) << names.toStdString();
}

TEST_F(DocumentCli, GenerateWritesOneQuestionFilePerQuestion)
{
    writeTest(u"test.skt"_s);
    ASSERT_TRUE(QDir().mkpath(file(u"zestaw"_s)));
    const CliResult r = run({u"generate"_s, u"test.skt"_s, u"zestaw"_s, u"alg_1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "3 question files written to zestaw.\n");
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(DocumentFixtures::filesIn(file(u"zestaw"_s)),
              (QStringList{u"alg_11.skq"_s, u"alg_12.skq"_s, u"alg_13.skq"_s}));
    const QJsonObject second = exportObject(u"zestaw/alg_12.skq"_s);
    EXPECT_EQ(second.value(u"question"_s).toObject().value(u"textName"_s).toString(), u"opis.TXT"_s);
    EXPECT_EQ(second.value(u"members"_s).toArray(),
              (QJsonArray{QJsonObject{{u"name"_s, u"opis.TXT"_s}, {u"size"_s, 18}}}));

    expectFailureLine(run({u"generate"_s, u"brak.skt"_s, u"zestaw"_s, u"q"_s}), u"brak.skt"_s);
    expectFailureLine(run({u"generate"_s, u"test.skt"_s, u"nie-ma"_s, u"q"_s}), u"nie-ma"_s);
    ASSERT_TRUE(writeFile(file(u"zly.skt"_s), "PACK"));
    expectFailureLine(run({u"generate"_s, u"zly.skt"_s, u"zestaw"_s, u"q"_s}), u"zly.skt"_s);
    EXPECT_EQ(DocumentFixtures::filesIn(file(u"zestaw"_s)).size(), 3);

    // A question that cannot be written stops the run: here a folder stands where file 2 would go.
    ASSERT_TRUE(QDir().mkpath(file(u"zestaw/q2.skq"_s)));
    const CliResult stopped = run({u"generate"_s, u"test.skt"_s, u"zestaw"_s, u"q"_s});
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_EQ(stopped.out, "1 question file written to zestaw.\n");
    EXPECT_TRUE(stopped.err.startsWith("zadanix: zestaw/q2.skq: ")) << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.contains("Problemy z utworzeniem pytania nr 2 Zgłoś problem autorowi."))
        << stopped.err.toStdString();
    EXPECT_EQ(stopped.err.count('\n'), 1);
}

TEST_F(DocumentCli, WrongUsageExitsWithTwoAndShowsUsage)
{
    const QList<QStringList> cases = {
        {u"export"_s},
        {u"export"_s, u"a.skt"_s, u"b.skt"_s},
        {u"export"_s, u"--bogus"_s, u"a.skt"_s},
        {u"import"_s, u"a.json"_s},
        {u"import"_s, u"a.json"_s, u"b.skt"_s, u"c"_s},
        {u"generate"_s, u"a.skt"_s, u"zestaw"_s},
        {u"generate"_s, u"a.skt"_s, u"zestaw"_s, u"zły-przedrostek"_s},
        {u"check"_s},
        {u"show"_s, u"a.skt"_s, u"b.skt"_s},
        {u"show"_s, u"--members"_s, u"dir"_s, u"a.skt"_s},
        {u"export"_s, u"a.skt"_s, u"--members"_s},
        {u"export"_s, u"--members="_s, u"a.skt"_s},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("Usage: zadanix " + args.first().toUtf8())) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const CliResult help = run({u"import"_s, u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Usage: zadanix import JSON OUT"));
}
