#include "documents/ListDocuments.h"

#include "storage/AtomicFile.h"
#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"
#include "core/StudentList.h"
#include "support/DocumentFixtures.h"
#include "support/DocumentTest.h"
#include "support/PakBytes.h"

#include <QDate>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/file.h>

using namespace Qt::StringLiterals;
using namespace DocumentFixtures;

namespace {

using ReadEntries = bool (*)(Workspace &, const QString &, ListInfo &, QStringList &);
using WriteEntries = bool (*)(Workspace &, const QString &, const ListInfo &, const QStringList &);

struct EntryListKind {
    const char *name;
    ReadEntries read;
    WriteEntries write;
    QByteArray xmlMember;
    QByteArray oldMember;
    QString element;
};

const EntryListKind kKinds[] = {
    {"test list", &ReadTestList, &WriteTestList, "Selt0.xml", "Selt0.txp", u"lst"_s},
    {"set list", &ReadSetList, &WriteSetList, "Selz0.xml", "Selz0.txp", u"lsz"_s},
};

const QString kListBox = u"Błąd odczytu listy.\rPrawdopodobnie lista jest uszkodzona."_s;
const QString kNoCount = u"Lista jest uszkodzona. Brak informacji o ilości wpisów."_s;

class ListDocuments : public DocumentTest {
protected:
    void clearRecords()
    {
        QFile::remove(t.ws.paths.logPath);
        prompts.messages.clear();
    }

};

StudentList sampleSchool()
{
    StudentList list;
    list.reset();
    list.author = u"Pani Łucja"_s;
    list.date = u"2023-09-01"_s;
    list.remarks = u"Rok szkolny 2023/24\r\nsemestr 1"_s;
    SchoolClass a;
    a.name = u"5a"_s;
    a.resultsFolder = u"/wyniki/5a"_s;
    a.time = 45;
    a.gradingOn = 1;
    a.thresholds = {95, 85, 70, 50, 30};
    a.students = {{u"Żaneta"_s, u"Ćwik"_s}, {u"Jan"_s, u"Kowalski-Nowak"_s}};
    SchoolClass empty;
    empty.name = u"6b (pusta)"_s;
    SchoolClass c;
    c.name = u"7c"_s;
    c.students = {{u"Ola"_s, u"Źrebięcka"_s}};
    list.classes = {a, empty, c};
    return list;
}

void expectSameSchool(const StudentList &a, const StudentList &b)
{
    EXPECT_EQ(a.author, b.author);
    EXPECT_EQ(a.date, b.date);
    EXPECT_EQ(a.remarks, b.remarks);
    ASSERT_EQ(a.classes.size(), b.classes.size());
    for (qsizetype c = 0; c < a.classes.size(); ++c) {
        const SchoolClass &x = a.classes[c];
        const SchoolClass &y = b.classes[c];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.resultsFolder, y.resultsFolder);
        EXPECT_EQ(x.time, y.time);
        EXPECT_EQ(x.gradingOn, y.gradingOn);
        EXPECT_EQ(x.thresholds, y.thresholds);
        ASSERT_EQ(x.students.size(), y.students.size());
        for (qsizetype s = 0; s < x.students.size(); ++s) {
            EXPECT_EQ(x.students[s].firstName, y.students[s].firstName);
            EXPECT_EQ(x.students[s].surname, y.students[s].surname);
        }
    }
}

} // namespace

TEST_F(ListDocuments, EntryListsRoundTripInOrderWithTheirLayout)
{
    for (const EntryListKind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const ListInfo info{u"Marek Ślązak"_s, u"2024-01-31"_s, u"Uwagi: <ważne> & pilne"_s};
        QStringList entries;
        for (int i = 0; i < 12; ++i)
            entries << u"%1|Wpis nr %2|testy/ułamki%2.skt"_s.arg(i % 3).arg(i);
        const QString p = path(u"lista"_s + QString::fromLatin1(kind.name).left(4));
        ASSERT_TRUE(kind.write(t.ws, p, info, entries));

        EXPECT_EQ(memberNames(p), QStringList{QString::fromLatin1(kind.xmlMember)});
        TpkXML doc;
        ASSERT_TRUE(loadMember(p, QString::fromLatin1(kind.xmlMember), doc));
        QStringList expected{u"ilw"_s, u"name"_s, u"dtu"_s, u"uwg"_s};
        for (int i = 0; i < 12; ++i)
            expected << u"dx"_s + QString::number(i);
        expected << u"cd"_s;
        TpkXMLNode *top = doc.DocumentChild(kind.element);
        EXPECT_EQ(childNames(top), expected);
        EXPECT_EQ(DecodeWide(top->ChildByName(u"ilw")->Text()), u"12"_s);
        EXPECT_EQ(top->ChildByName(u"cd")->Text(), u"tr"_s);

        ListInfo back{u"x"_s, u"y"_s, u"z"_s};
        QStringList lines{u"śmieci"_s};
        ASSERT_TRUE(kind.read(t.ws, p, back, lines));
        EXPECT_EQ(back.author, info.author);
        EXPECT_EQ(back.date, info.date);
        EXPECT_EQ(back.remarks, info.remarks);
        EXPECT_EQ(lines, entries);
    }
    EXPECT_TRUE(t.logTexts().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ListDocuments, EmptyEntryListHasNoEntryElements)
{
    for (const EntryListKind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const QString p = path(u"pusta"_s);
        ASSERT_TRUE(kind.write(t.ws, p, {u"Autor"_s, u"2024-02-02"_s, u"Bez wpisów"_s}, {}));
        TpkXML doc;
        ASSERT_TRUE(loadMember(p, QString::fromLatin1(kind.xmlMember), doc));
        EXPECT_EQ(childNames(doc.DocumentChild(kind.element)),
                  (QStringList{u"ilw"_s, u"name"_s, u"dtu"_s, u"uwg"_s, u"cd"_s}));
        ListInfo info;
        QStringList entries{u"stary wpis"_s};
        ASSERT_TRUE(kind.read(t.ws, p, info, entries));
        EXPECT_TRUE(entries.isEmpty());
        EXPECT_EQ(info.author, u"Autor"_s);
        EXPECT_EQ(info.date, u"2024-02-02"_s);
        EXPECT_EQ(info.remarks, u"Bez wpisów"_s);
    }
}

TEST_F(ListDocuments, MissingEntryCount)
{
    const QByteArray body = "<cd>tr</cd><name>" + EncodeWide(u"Ala").toLatin1() + "</name><dtu>" +
                            EncodeWide(u"2020-01-01").toLatin1() + "</dtu><uwg>" +
                            EncodeWide(u"u").toLatin1() + "</uwg><dx0>" + EncodeWide(u"wpis").toLatin1() +
                            "</dx0>";
    // A question-set list fails, with its header read and no entries.
    {
        const QString p = writeArchive(u"z.skz"_s, {{"Selz0.xml", "<lsz>" + body + "</lsz>"}});
        ListInfo info;
        QStringList entries{u"stary"_s};
        EXPECT_FALSE(ReadSetList(t.ws, p, info, entries));
        EXPECT_EQ(info.author, u"Ala"_s);
        EXPECT_EQ(info.date, u"2020-01-01"_s);
        EXPECT_EQ(info.remarks, u"u"_s);
        EXPECT_TRUE(entries.isEmpty());
        EXPECT_EQ(t.logTexts(), QStringList{kNoCount});
        EXPECT_TRUE(prompts.messages.isEmpty());
    }
    // A test list reads it as no entries.
    clearRecords();
    {
        const QString p = writeArchive(u"t.skg"_s, {{"Selt0.xml", "<lst>" + body + "</lst>"}});
        ListInfo info;
        QStringList entries{u"stary"_s};
        EXPECT_TRUE(ReadTestList(t.ws, p, info, entries));
        EXPECT_EQ(info.author, u"Ala"_s);
        EXPECT_TRUE(entries.isEmpty());
        EXPECT_TRUE(t.logTexts().isEmpty());
    }
}

TEST_F(ListDocuments, Version35EntryLists)
{
    for (const EntryListKind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const QStringList lines{u"nagłówek, nie czytany"_s, u"0|Klasa 5|"_s, u"1|Ułamki|ulamki.skt"_s, u""_s};
        const QString p = writeArchive(u"stara"_s, {{kind.oldMember, codedLines(lines, t.ws.rng)}});
        ListInfo info{u"a"_s, u"b"_s, u"c"_s};
        QStringList entries{u"stary"_s};
        ASSERT_TRUE(kind.read(t.ws, p, info, entries));
        EXPECT_EQ(entries, (QStringList{u"0|Klasa 5|"_s, u"1|Ułamki|ulamki.skt"_s, QString()}));
        EXPECT_TRUE(info.author.isEmpty());
        EXPECT_EQ(info.date, u"0"_s);
        EXPECT_TRUE(info.remarks.isEmpty());
    }
}

TEST_F(ListDocuments, StudentListRoundTripAndLayout)
{
    const StudentList school = sampleSchool();
    const QString p = path(u"szkoła.sku"_s);
    ASSERT_TRUE(WriteStudentList(t.ws, p, school));

    EXPECT_EQ(memberNames(p), QStringList{u"Selu0.xml"_s});
    TpkXML doc;
    ASSERT_TRUE(loadMember(p, u"Selu0.xml"_s, doc));
    TpkXMLNode *szk = doc.DocumentChild(u"szk");
    EXPECT_EQ(childNames(szk), (QStringList{u"ilw"_s, u"ilk"_s, u"typ"_s, u"dtu"_s, u"uwg"_s, u"kl0"_s,
                                            u"kl1"_s, u"kl2"_s, u"cd"_s}));
    EXPECT_EQ(DecodeWide(szk->ChildByName(u"ilw")->Text()), u"3"_s);
    EXPECT_EQ(DecodeWide(szk->ChildByName(u"ilk")->Text()), u"3"_s);
    EXPECT_EQ(childNames(szk->ChildByName(u"kl0")),
              (QStringList{u"nm"_s, u"sc"_s, u"tim"_s, u"ilu"_s, u"skl"_s, u"ucz0"_s, u"ucz1"_s}));
    EXPECT_EQ(childNames(szk->ChildByName(u"kl0")->ChildByName(u"skl")),
              (QStringList{u"tk"_s, u"cel"_s, u"bdb"_s, u"db"_s, u"dst"_s, u"dp"_s}));
    EXPECT_EQ(childNames(szk->ChildByName(u"kl0")->ChildByName(u"ucz1")), (QStringList{u"imu"_s, u"nzu"_s}));
    // An empty class: no results folder and no students.
    EXPECT_EQ(childNames(szk->ChildByName(u"kl1")), (QStringList{u"nm"_s, u"tim"_s, u"ilu"_s, u"skl"_s}));

    StudentList back;
    back.classes.append(SchoolClass{});
    ASSERT_TRUE(ReadStudentList(t.ws, p, back));
    expectSameSchool(back, school);
    EXPECT_EQ(back.totalStudents(), 3);
    EXPECT_TRUE(t.logTexts().isEmpty());
}

TEST_F(ListDocuments, Version35StudentList)
{
    const QByteArray classA =
        codedLines({u"5a"_s, u"nieczytane"_s, u"C:\\Wyniki\\5a"_s, u"40"_s, u"Jan Maria Rokita"_s,
                    u"Ewa  Nowak "_s, u"Samotny"_s, u"Zenon  "_s + QString(120, u'x')},
                   t.ws.rng);
    const QByteArray classB = codedLines({u"6b"_s, u""_s, u""_s, u"0"_s}, t.ws.rng);
    const QString p =
        writeArchive(u"stara.sku"_s, {{"Selu0.txp", codedLines({u"x"_s, u"y"_s, u"5a"_s, u"6b"_s}, t.ws.rng)},
                                      {"5a.txp", classA},
                                      {"6B.TXP", classB}});
    StudentList list;
    ASSERT_TRUE(ReadStudentList(t.ws, p, list)) << t.logTexts().join(u'|').toStdString();
    ASSERT_EQ(list.classes.size(), 2);
    const SchoolClass &a = list.classes[0];
    EXPECT_EQ(a.name, u"5a"_s);
    EXPECT_EQ(a.resultsFolder, u"C:\\Wyniki\\5a"_s);
    EXPECT_EQ(a.time, 40);
    EXPECT_EQ(a.gradingOn, 0);
    EXPECT_EQ(a.thresholds, (std::array<int, 5>{90, 80, 70, 60, 40}));
    ASSERT_EQ(a.students.size(), 4);
    EXPECT_EQ(a.students[0].firstName, u"Jan"_s);
    EXPECT_EQ(a.students[0].surname, u"Maria Rokita"_s);
    EXPECT_EQ(a.students[1].firstName, u"Ewa"_s);
    EXPECT_EQ(a.students[1].surname, u"Nowak"_s);
    EXPECT_EQ(a.students[2].firstName, u"Samotny"_s);
    EXPECT_TRUE(a.students[2].surname.isEmpty());
    EXPECT_EQ(a.students[3].surname, QString(99, u'x')); // 100 characters after the blank, then trimmed
    EXPECT_EQ(list.classes[1].name, u"6b"_s);
    EXPECT_TRUE(list.classes[1].students.isEmpty());
    EXPECT_EQ(list.totalStudents(), 4);
    EXPECT_TRUE(list.author.isEmpty());
    EXPECT_EQ(list.date, QDate::currentDate().toString(u"yyyy-MM-dd"_s));
}

TEST_F(ListDocuments, Version35ClassNamedAgainIsReadOnce)
{
    // Every index line names the same class (in either case): read as it stood, each line would add
    // all of the class's students again, and a small file would become millions of students.
    const QByteArray classA =
        codedLines({u"5a"_s, u""_s, u""_s, u"0"_s, u"Jan Nowak"_s, u"Ewa Lis"_s}, t.ws.rng);
    QStringList index{u"x"_s, u"y"_s};
    for (int i = 0; i < 2000; ++i)
        index << (i % 2 ? u"5A"_s : u"5a"_s);
    index << u"6b"_s;
    const QString p =
        writeArchive(u"powtorzona.sku"_s,
                     {{"Selu0.txp", codedLines(index, t.ws.rng)},
                      {"5a.txp", classA},
                      {"6b.txp", codedLines({u"6b"_s, u""_s, u""_s, u"0"_s, u"Ola Kot"_s}, t.ws.rng)}});
    StudentList list;
    ASSERT_TRUE(ReadStudentList(t.ws, p, list));
    ASSERT_EQ(list.classes.size(), 2);
    EXPECT_EQ(list.classes[0].students.size(), 2);
    EXPECT_EQ(list.classes[1].name, u"6b"_s);
    EXPECT_EQ(list.totalStudents(), 3);
    EXPECT_EQ(t.logTexts(),
              QStringList{u"Odczyt szkoły ver. 35. Indeks klas powtarza klasę 5A; wczytano ją raz."_s});
}

TEST_F(ListDocuments, DamagedEntryLists)
{
    QByteArray deep;
    for (int i = 0; i < 50000; ++i)
        deep += "<a>";
    const QByteArray million = EncodeWide(u"1000000").toLatin1();
    struct Case {
        const char *what;
        QByteArray file; // for the test list; the set list gets the same with its own names
        bool present;
        bool ok;
        // Log per kind: test list, set list; "@" stands for the kind's own entry of the situation.
        QString situation;
        int entries;
    } cases[] = {
        {"no file", {}, false, false, u"open"_s, 0},
        {"not a PACK archive", "abc", true, false, u"open"_s, 0},
        {"directory outside the file", PakBytes::header(4096, 256), true, false, u"open"_s, 0},
        {"no list member", PakBytes::archive({{"inny.xml", "<lst/>"}}), true, false, u"member"_s, 0},
        {"ilw of a million",
         PakBytes::archive({{"Selt0.xml", "<lst><cd>tr</cd><ilw>" + million + "</ilw><dx0>" +
                                              EncodeWide(u"a").toLatin1() + "</dx0></lst>"}}),
         true, true, u"capped"_s, 1},
        {"ilw below zero",
         PakBytes::archive({{"Selt0.xml", "<lst><ilw>-5</ilw><dx0>a</dx0></lst>"}}),
         true,
         true,
         {},
         0},
        {"entry with a leading zero",
         PakBytes::archive({{"Selt0.xml", "<lst><ilw>2</ilw><dx0>a</dx0><dx01>b</dx01></lst>"}}), true, true,
         u"capped"_s, 1},
        {"truncated XML",
         PakBytes::archive({{"Selt0.xml", "<lst><cd>fa</cd><ilw>1</ilw><dx0>a</dx0><dx"}}),
         true,
         true,
         {},
         1},
        {"50000 nested elements",
         PakBytes::archive({{"Selt0.xml", "<lst><ilw>0</ilw>" + deep}}),
         true,
         true,
         {},
         0},
        {"foreign Base64 characters",
         PakBytes::archive({{"Selt0.xml", "<lst><cd>tr</cd><ilw>" + EncodeWide(u"1").toLatin1() +
                                              "</ilw><dx0>ąę€!*</dx0></lst>"}}),
         true,
         true,
         {},
         1},
        {"version 35 undecodable line",
         PakBytes::archive({{"Selt0.txp", codedLines({u"x"_s, u"a"_s}, t.ws.rng) + "\r\n" +
                                              codedLines({u"b"_s}, t.ws.rng)}}),
         true, false, u"v35"_s, 1},
    };
    for (const EntryListKind &kind : kKinds) {
        const bool testList = kind.element == u"lst"_s;
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(kind.name) + ": " + c.what);
            QByteArray file = c.file;
            if (!testList) {
                file.replace("Selt0", "Selz0");
                file.replace("<lst>", "<lsz>");
                file.replace("</lst>", "</lsz>");
            }
            const QString p = path(u"zla"_s);
            QFile::remove(p);
            clearRecords();
            if (c.present) {
                ASSERT_TRUE(PakBytes::writeFile(p, file));
            }
            ListInfo info;
            QStringList entries;
            EXPECT_EQ(kind.read(t.ws, p, info, entries), c.ok);
            QStringList log;
            bool box = false;
            if (c.situation == u"open"_s || (c.situation == u"member"_s && testList)) {
                log << (testList ? u"Odczyt listy testów. Błąd wczytania spakowanej zawartości."_s
                                 : u"Odczyt. Problemy z wczytaniem pliku listy zestawów pytań."_s);
            } else if (c.situation == u"member"_s) {
                log << u"Odczyt listy zestawów. Ver 40. Błąd odczytu."_s;
            } else if (c.situation == u"v35"_s) {
                log << (testList ? u"Odczyt listy testów. Ver 35. Błąd odczytu."_s
                                 : u"Odczyt listy zestawów. Ver 35. Błąd odczytu."_s);
                box = testList;
            } else if (c.situation == u"capped"_s) {
                log << u"Odczyt listy. Lista podaje więcej wpisów, niż zawiera; wczytano 1."_s;
            }
            EXPECT_EQ(t.logTexts(), log);
            EXPECT_EQ(prompts.messageTexts(), box ? QStringList{kListBox} : QStringList());
            EXPECT_EQ(entries.size(), c.entries);
        }
    }
}

TEST_F(ListDocuments, DamagedStudentLists)
{
    QByteArray deep;
    for (int i = 0; i < 50000; ++i)
        deep += "<a>";
    const auto coded = [](const char16_t *s) { return EncodeWide(QStringView(s)).toLatin1(); };
    const QString capped1 = u"Odczyt listy. Lista podaje więcej wpisów, niż zawiera; wczytano 1."_s;
    const QString open = u"Odczyt. Problemy z wczytaniem pliku listy uczniów."_s;
    const QString xml = u"Przetwarzanie listy klas. Błąd wczytania do xml."_s;
    const QString old = u"Odczyt szkoły ver. 35. Błąd odczytu."_s;
    const QByteArray oneClass = "<kl0><nm>" + coded(u"1a") + "</nm><ilu>" + coded(u"1000000") +
                                "</ilu><ucz0><imu>" + coded(u"Ola") + "</imu></ucz0></kl0>";
    struct Case {
        const char *what;
        QByteArray file;
        bool present;
        bool ok;
        QStringList log;
        int classes;
        int students;
    } cases[] = {
        {"no file", {}, false, false, {open}, 0, 0},
        {"not a PACK archive", "PAC", true, false, {open}, 0, 0},
        {"no list member", PakBytes::archive({{"5a.txp", "x"}}), true, false, {xml}, 0, 0},
        {"ilk and ilu of a million",
         PakBytes::archive({{"Selu0.xml", "<szk><cd>tr</cd><ilw>" + coded(u"1") + "</ilw><ilk>" +
                                              coded(u"1000000") + "</ilk>" + oneClass + "</szk>"}}),
         true,
         true,
         {capped1, capped1},
         1,
         1},
        {"every class claims a million students: one log entry, not one per class",
         PakBytes::archive(
             {{"Selu0.xml", "<szk><cd>tr</cd><ilw>" + coded(u"1") + "</ilw><ilk>" + coded(u"3") + "</ilk>" +
                                oneClass + QByteArray(oneClass).replace("kl0>", "kl1>") +
                                QByteArray(oneClass).replace("kl0>", "kl2>") + "</szk>"}}),
         true,
         true,
         {capped1},
         3,
         3},
        {"ilw missing",
         PakBytes::archive({{"Selu0.xml", "<szk><cd>fa</cd><ilk>1</ilk><kl0><nm>1a</nm></kl0></szk>"}}),
         true,
         false,
         {u"Lista jest uszkodzona. Brak informacji o ilości wpisów."_s},
         1,
         0},
        {"50000 nested elements",
         PakBytes::archive({{"Selu0.xml", "<szk><ilw>0</ilw>" + deep}}),
         true,
         true,
         {},
         0,
         0},
        {"foreign Base64 characters",
         PakBytes::archive({{"Selu0.xml", "<szk><cd>tr</cd><ilw>" + coded(u"0") +
                                              "</ilw><ilk>ą€!!</ilk><typ>*</typ></szk>"}}),
         true,
         true,
         {},
         0,
         0},
        {"version 35 class member missing",
         PakBytes::archive({{"Selu0.txp", codedLines({u"x"_s, u"y"_s, u"brak"_s}, t.ws.rng)}}),
         true,
         false,
         {old},
         0,
         0},
        {"version 35 class cut short",
         PakBytes::archive({{"Selu0.txp", codedLines({u"x"_s, u"y"_s, u"1a"_s}, t.ws.rng)},
                            {"1a.txp", codedLines({u"1a"_s, u""_s, u""_s}, t.ws.rng)}}),
         true,
         false,
         {old},
         0,
         0},
        {"version 35 time not a number",
         PakBytes::archive({{"Selu0.txp", codedLines({u"x"_s, u"y"_s, u"1a"_s}, t.ws.rng)},
                            {"1a.txp", codedLines({u"1a"_s, u""_s, u""_s, u"dużo"_s}, t.ws.rng)}}),
         true,
         false,
         {old},
         0,
         0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString p = path(u"zla.sku"_s);
        QFile::remove(p);
        clearRecords();
        if (c.present) {
            ASSERT_TRUE(PakBytes::writeFile(p, c.file));
        }
        StudentList list;
        EXPECT_EQ(ReadStudentList(t.ws, p, list), c.ok);
        EXPECT_EQ(t.logTexts(), c.log);
        EXPECT_TRUE(prompts.messages.isEmpty());
        EXPECT_EQ(list.classes.size(), c.classes);
        EXPECT_EQ(list.totalStudents(), c.students);
    }
}

TEST_F(ListDocuments, FailedWritesKeepTheOldFile)
{
    const QString p = path(u"lista.skg"_s);
    ASSERT_TRUE(WriteTestList(t.ws, p, {u"A"_s, u"2024-01-01"_s, {}}, {u"0|stary|"_s}));
    const QByteArray old = PakBytes::readFile(p);
    QStringList many;
    for (int i = 0; i < 5000; ++i)
        many << u"0|wpis numer %1 z długą nazwą, by plik urósł|"_s.arg(i);
    bool written = true;
    {
        FileSizeLimit limit(20000);
        written = WriteTestList(t.ws, p, {u"A"_s, u"2024-01-01"_s, {}}, many);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(PakBytes::readFile(p), old);
    EXPECT_EQ(filesIn(t.dir.path()), QStringList{u"lista.skg"_s});
    EXPECT_EQ(t.logTexts(), QStringList{u"Zapis listy testów. Błąd zapisu."_s});
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{u"Wystąpiły problemy z zapisem pliku listy.\rSprawdź plik błędów."_s});

    clearRecords();
    EXPECT_FALSE(WriteSetList(t.ws, path(u"brak/z.skz"_s), {}, {}));
    EXPECT_FALSE(WriteStudentList(t.ws, path(u"brak/u.sku"_s), sampleSchool()));
    EXPECT_EQ(t.logTexts(),
              (QStringList{u"Zapis listy zestawów. Błąd zapisu."_s, u"Zapis listy uczniów. Błąd zapisu."_s}));
    EXPECT_EQ(prompts.messages.size(), 2);
}

TEST_F(ListDocuments, SaveFailsWhenTheDiskCannotFlushOrAnotherProgramHoldsTheFile)
{
    const QString p = path(u"lista.skz"_s);
    ASSERT_TRUE(WriteSetList(t.ws, p, {u"A"_s, u"2024-01-01"_s, {}}, {u"0|stary|"_s}));
    const QByteArray old = PakBytes::readFile(p);
    const QString logged = u"Zapis listy zestawów. Błąd zapisu."_s;

    // The disk fails every flush but the log's, so the writer's entry can still be read back.
    AtomicFile::setSyncCall([](int fd) {
        const QString file = QFile::symLinkTarget(u"/proc/self/fd/"_s + QString::number(fd));
        if (file.contains(u"Dziennik.txt"_s))
            return 0;
        errno = EIO;
        return -1;
    });
    const bool flushed = WriteSetList(t.ws, p, {u"B"_s, {}, {}}, {u"0|nowy|"_s});
    AtomicFile::setSyncCall(nullptr);
    EXPECT_FALSE(flushed);
    EXPECT_EQ(PakBytes::readFile(p), old);
    EXPECT_EQ(t.logTexts(), QStringList{logged});
    EXPECT_EQ(prompts.messages.size(), 1);

    // Another program's lock on its own open file (flock locks of two open files conflict).
    clearRecords();
    QFile other(p);
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(other.handle(), LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(WriteSetList(t.ws, p, {u"B"_s, {}, {}}, {u"0|nowy|"_s}));
    EXPECT_EQ(PakBytes::readFile(p), old);
    EXPECT_EQ(filesIn(t.dir.path()), QStringList{u"lista.skz"_s});
    EXPECT_EQ(t.logTexts(), QStringList{logged});
    other.close();
    EXPECT_TRUE(WriteSetList(t.ws, p, {u"B"_s, {}, {}}, {u"0|nowy|"_s}));
}

TEST_F(ListDocuments, LargeListsReadInLinearTime)
{
    // 100 000 entries: a quadratic lookup would take minutes here.
    QStringList entries;
    for (int i = 0; i < 100000; ++i)
        entries << QString::number(i);
    const QString p = path(u"duza.skz"_s);
    ASSERT_TRUE(WriteSetList(t.ws, p, {u"A"_s, u"d"_s, u"r"_s}, entries));
    ListInfo info;
    QStringList back;
    ASSERT_TRUE(ReadSetList(t.ws, p, info, back));
    EXPECT_EQ(back, entries);
}
