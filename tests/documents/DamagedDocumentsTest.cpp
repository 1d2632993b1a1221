// Every reader against many damaged copies of a sound document: the archive's bytes changed, cut
// short or lengthened, and the document member's own text damaged inside a sound archive. A reader may
// refuse or read what it can, but it must come back, and the file it read must be as it was. The
// sanitizer build runs this too, which is where an out-of-bounds read would show.

#include "settings/ModuleSettings.h"
#include "storage/ArchiveAccess.h"
#include "documents/ListDocuments.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "core/StudentList.h"
#include "support/DocumentFixtures.h"
#include "support/DocumentTest.h"
#include "support/PakBytes.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct Kind {
    const char *name;
    QString file;
    // Writes a sound document of this kind at the path.
    std::function<void(Workspace &, const QString &)> write;
    // Reads it the way the editor does; the result itself is free.
    std::function<void(Workspace &, const QString &)> read;
};

class DamagedDocuments : public DocumentTest {
protected:
    // Changes, cuts, lengthens or rewrites a header or directory number of the bytes.
    static QByteArray damaged(QByteArray bytes, QRandomGenerator &rng)
    {
        const auto at = [&](qsizetype size) {
            return size > 0 ? static_cast<qsizetype>(rng.bounded(size)) : 0;
        };
        switch (rng.bounded(5)) {
        case 0: // a few bytes changed
            for (int n = 1 + static_cast<int>(rng.bounded(8)); n > 0 && !bytes.isEmpty(); --n)
                bytes[at(bytes.size())] = static_cast<char>(rng.bounded(256));
            break;
        case 1: // cut short
            bytes.truncate(at(bytes.size()));
            break;
        case 2: // bytes put in
            bytes.insert(at(bytes.size() + 1), QByteArray(1 + static_cast<int>(rng.bounded(300)),
                                                          static_cast<char>(rng.bounded(256))));
            break;
        case 3: { // a 32-bit number anywhere set to an extreme or random value
            static constexpr qint32 extremes[] = {0, -1, 1, 12, 127, 128, 0x7fffffff, qint32(0x80000000)};
            if (bytes.size() < 4)
                break;
            const qint32 value =
                rng.bounded(2) ? extremes[rng.bounded(8)] : static_cast<qint32>(rng.generate());
            qToLittleEndian(value, bytes.data() + at(bytes.size() - 3));
            break;
        }
        default: // a stretch copied over another, as a confused writer might leave it
            if (bytes.size() > 2) {
                const qsizetype from = at(bytes.size());
                const qsizetype to = at(bytes.size());
                const qsizetype length = std::min(bytes.size() - std::max(from, to), at(200) + 1);
                bytes.replace(to, length, QByteArray(bytes.constData() + from, length));
            }
            break;
        }
        return bytes;
    }

    // Reads `copies` damaged variants of the kind's sound file and checks each is left untouched.
    void readDamaged(const Kind &kind, int copies, quint32 seed)
    {
        const QString sound = path(u"sound-"_s + kind.file);
        kind.write(t.ws, sound);
        const QByteArray soundBytes = PakBytes::readFile(sound);
        ASSERT_FALSE(soundBytes.isEmpty()) << kind.name;

        // The members of a sound archive, to damage the document member ("Se…") inside it; a settings
        // file is XML without an archive around it.
        TVfsPAK pak;
        QList<std::pair<QByteArray, QByteArray>> members;
        qsizetype document = 0;
        if (pak.Open(sound, TVfsPAK::Mode::ReadOnly)) {
            for (const QString &name : pak.Names()) {
                if (name.startsWith(u"Se"_s, Qt::CaseInsensitive))
                    document = members.size();
                members.append({name.toLatin1(), pak.Extract(name).value_or(QByteArray())});
            }
            pak.close();
        }

        QRandomGenerator rng(seed);
        const QString target = path(kind.file);
        for (int i = 0; i < copies; ++i) {
            QByteArray bytes;
            if (i % 2 == 0 || members.isEmpty()) {
                bytes = damaged(soundBytes, rng);
            } else {
                QList<std::pair<QByteArray, QByteArray>> inner = members;
                inner[document].second = damaged(inner[document].second, rng);
                bytes = PakBytes::archive(inner);
            }
            ASSERT_TRUE(PakBytes::writeFile(target, bytes));
            kind.read(t.ws, target);
            ASSERT_EQ(PakBytes::readFile(target), bytes)
                << kind.name << ", copy " << i << ": changed by reading";
            prompts.messages.clear();
            QFile::remove(t.ws.paths.logPath);
        }
    }
};

void writeTest(Workspace &ws, const QString &path)
{
    TestModel &m = ws.test;
    m.resetTest();
    m.header.questionCount = 3;
    m.header.testName = u"Ułamki"_s;
    m.header.gradingOn = 1;
    for (int k = 1; k <= 3; ++k) {
        m.question(k).text = u"Pytanie %1 — ile to ½?"_s.arg(k);
        m.question(k).answers = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, {}};
        m.question(k).correct = u"01000"_s;
    }
    m.question(1).imageName = u"obraz.gif"_s;
    m.question(2).textName = u"opis.txt"_s;
    DeleteAllMembers(*ws.workingTest);
    PutStream(u"obraz.gif"_s, QByteArrayView("GIF89a-niecalkiem"), *ws.workingTest);
    PutStream(u"opis.txt"_s, QByteArrayView("opis zadania"), *ws.workingTest);
    ASSERT_TRUE(WriteTestDocument(ws, path));
}

void writeQuestion(Workspace &ws, const QString &path)
{
    SingleQuestion &q = ws.question;
    q.resetSingleQuestion();
    q.text = u"Stolica Polski?"_s;
    q.answers = {u"Kraków"_s, u"Warszawa"_s, u"Łódź"_s, {}, {}};
    q.correct = u"01000"_s;
    q.textName = u"opis.txt"_s;
    DeleteAllMembers(*ws.workingQuestion);
    PutStream(u"opis.txt"_s, QByteArrayView("opis"), *ws.workingQuestion);
    ASSERT_TRUE(WriteQuestionDocument(ws, path, *ws.workingQuestion));
}

void writeStudents(Workspace &ws, const QString &path)
{
    StudentList list;
    list.reset();
    list.author = u"Sekretariat"_s;
    SchoolClass a;
    a.name = u"5a"_s;
    a.students = {{u"Jan"_s, u"Kowalski"_s}, {u"Ewa"_s, u"Żak"_s}};
    SchoolClass b;
    b.name = u"6b"_s;
    b.students = {{u"Ola"_s, u"Nowak"_s}};
    list.classes = {a, b};
    ASSERT_TRUE(WriteStudentList(ws, path, list));
}

} // namespace

TEST_F(DamagedDocuments, EveryReaderComesBackAndLeavesTheFileAsItWas)
{
    const auto readTestList = [](Workspace &ws, const QString &p) {
        ListInfo info;
        QStringList entries;
        ReadTestList(ws, p, info, entries);
    };
    const auto readSetList = [](Workspace &ws, const QString &p) {
        ListInfo info;
        QStringList entries;
        ReadSetList(ws, p, info, entries);
    };
    const QStringList entries{u"0*0*1*-1*1*0*Klasa 5**"_s, u"1*1*0*0*0*0*Sprawdzian*/t/s.skt*"_s};
    const Kind kinds[] = {
        {"test", u"t.skt"_s, writeTest, [](Workspace &ws, const QString &p) { ReadTestDocument(ws, p); }},
        {"question", u"q.skq"_s, writeQuestion,
         [](Workspace &ws, const QString &p) { ReadQuestionDocument(ws, p); }},
        {"test list", u"l.skg"_s,
         [&](Workspace &ws, const QString &p) {
             ASSERT_TRUE(WriteTestList(ws, p, {u"A"_s, {}, {}}, entries));
         },
         readTestList},
        {"set list", u"z.skz"_s,
         [&](Workspace &ws, const QString &p) {
             ASSERT_TRUE(WriteSetList(ws, p, {u"A"_s, {}, {}}, entries));
         },
         readSetList},
        {"student list", u"u.sku"_s, writeStudents,
         [](Workspace &ws, const QString &p) {
             StudentList list;
             ReadStudentList(ws, p, list);
         }},
    };
    quint32 seed = 1;
    for (const Kind &kind : kinds) {
        SCOPED_TRACE(kind.name);
        readDamaged(kind, 160, seed++);
    }
}

TEST_F(DamagedDocuments, OldVersionsAndSettingsFilesToo)
{
    using DocumentFixtures::codedLines;
    QStringList test35{u"opis"_s, u"0"_s, u"2"_s, u"Stary test"_s, u"Jan Łęcki"_s, u"4"_s};
    for (int i = 1; i <= 2; ++i)
        test35 << u"Treść %1"_s.arg(i) << u"a"_s << u"b"_s << u"c"_s << u"d"_s << u"0100"_s << QString()
               << QString() << QString();
    const QByteArray oldTest = codedLines(test35, t.ws.rng, true);
    const QByteArray oldQuestion = codedLines({u"Opis"_s, u"Zbiór"_s, u"1"_s, u"4"_s, u"Treść?"_s, u"a"_s,
                                               u"b"_s, u"c"_s, u"d"_s, u"1100"_s, u""_s, u""_s, u"kom"_s},
                                              t.ws.rng);

    const auto readModule = [](Workspace &ws, const QString &p) {
        TestingModuleSettings testing;
        LearningModuleSettings learning;
        OpenModuleSettingsFile(ws, p, testing, learning);
    };
    const Kind kinds[] = {
        {"version 35 test", u"t35.skt"_s,
         [&](Workspace &, const QString &p) {
             ASSERT_TRUE(PakBytes::writeFile(p, PakBytes::archive({{"Serr0.txp", oldTest}})));
         },
         [](Workspace &ws, const QString &p) { ReadTestDocument(ws, p); }},
        {"version 35 question", u"q35.skq"_s,
         [&](Workspace &, const QString &p) {
             ASSERT_TRUE(PakBytes::writeFile(p, PakBytes::archive({{"Sezz0.txp", oldQuestion}})));
         },
         [](Workspace &ws, const QString &p) { ReadQuestionDocument(ws, p); }},
        {"testing module settings", u"Test.ini"_s,
         [](Workspace &ws, const QString &p) { ASSERT_TRUE(WriteTestingModuleSettings(ws, p, {})); },
         readModule},
        {"learning module settings", u"Nauka.ini"_s,
         [](Workspace &ws, const QString &p) { ASSERT_TRUE(WriteLearningModuleSettings(ws, p, {})); },
         readModule},
    };
    quint32 seed = 100;
    for (const Kind &kind : kinds) {
        SCOPED_TRACE(kind.name);
        readDamaged(kind, 160, seed++);
    }
}
