#include "storage/TVfsPAK.h"

#include "support/PakBytes.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

class PakTest : public ::testing::Test {
protected:
    QString file(const QString &name = u"a.pak"_s) const { return dir.filePath(name); }

    // A fresh archive at `path` holding these members, added in order.
    void build(TVfsPAK &pak, const QList<std::pair<QString, QByteArray>> &members, const QString &path = {})
    {
        ASSERT_TRUE(pak.Open(path.isEmpty() ? file() : path, TVfsPAK::Mode::Create))
            << qPrintable(pak.errorString());
        for (const auto &[name, data] : members)
            ASSERT_TRUE(pak.AddStream(QByteArrayView(data), name)) << qPrintable(pak.errorString());
    }

    QTemporaryDir dir;
};

const QByteArray EmptyArchive = PakBytes::header(12, 0);

} // namespace

TEST_F(PakTest, WritesTheLayoutByteForByte)
{
    TVfsPAK pak;
    build(pak, {{u"a.txt"_s, "hello"_ba}, {u"Żółw.jpg"_s, "xyz"_ba}});

    const QByteArray expected = "PACK"_ba + PakBytes::int32(20) + PakBytes::int32(256) + "hello" + "xyz" +
                                PakBytes::entry("a.txt", 12, 5) + PakBytes::entry("\xAF\xF3\xB3w.jpg", 17, 3);
    EXPECT_EQ(readFile(file()), expected);
    EXPECT_EQ(pak.Names(), QStringList({u"a.txt"_s, u"Żółw.jpg"_s}));
}

TEST_F(PakTest, EmptyFileBecomesTheEmptyArchiveInEitherMode)
{
    for (TVfsPAK::Mode mode : {TVfsPAK::Mode::OpenExisting, TVfsPAK::Mode::Create}) {
        ASSERT_TRUE(writeFile(file(), {}));
        TVfsPAK pak;
        EXPECT_TRUE(pak.Open(file(), mode));
        EXPECT_TRUE(pak.Names().isEmpty());
        EXPECT_EQ(readFile(file()), EmptyArchive);
    }
}

TEST_F(PakTest, CreateEmptiesAnExistingArchive)
{
    ASSERT_TRUE(writeFile(file(), PakBytes::archive({{"old", "data"}})));
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(), TVfsPAK::Mode::Create));
    EXPECT_TRUE(pak.Names().isEmpty());
    EXPECT_EQ(readFile(file()), EmptyArchive);
}

TEST_F(PakTest, OpenExistingDoesNotCreateAMissingFile)
{
    TVfsPAK pak;
    EXPECT_FALSE(pak.Open(file(), TVfsPAK::Mode::OpenExisting));
    EXPECT_FALSE(pak.isOpen());
    EXPECT_FALSE(QFile::exists(file()));
    EXPECT_FALSE(pak.errorString().isEmpty());
}

TEST_F(PakTest, ReopeningReadsWhatWasWritten)
{
    const QByteArray binary("\0\1\2\xFF\r\n", 6);
    {
        TVfsPAK pak;
        build(pak, {{u"Serr0.xml"_s, "<x/>"_ba}, {u"obraz.bmp"_s, binary}, {u"pusty"_s, {}}});
    }
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(), TVfsPAK::Mode::OpenExisting));
    EXPECT_EQ(pak.Names(), QStringList({u"Serr0.xml"_s, u"obraz.bmp"_s, u"pusty"_s}));
    EXPECT_EQ(pak.Extract(u"obraz.bmp"), binary);
    EXPECT_EQ(pak.Extract(u"pusty"), QByteArray());
    EXPECT_EQ(pak.Extract(u"brak"), std::nullopt);
}

TEST_F(PakTest, DeletingTheMiddleMemberClosesTheGap)
{
    const QByteArray a(100, 'a'), b(37, 'b'), c(250, 'c');
    TVfsPAK pak;
    build(pak, {{u"A"_s, a}, {u"B"_s, b}, {u"C"_s, c}});
    ASSERT_TRUE(pak.Delete(u"B"));

    EXPECT_EQ(pak.Names(), QStringList({u"A"_s, u"C"_s}));
    const QByteArray expected = PakBytes::archive({{"A", a}, {"C", c}});
    EXPECT_EQ(readFile(file()), expected);
    EXPECT_EQ(expected.size(), 12 + a.size() + c.size() + 256);
    ASSERT_EQ(pak.entries().size(), 2);
    EXPECT_EQ(pak.entries()[1].offset, 12 + a.size());
    EXPECT_EQ(pak.Extract(u"A"), a);
    EXPECT_EQ(pak.Extract(u"C"), c);
}

TEST_F(PakTest, DeletingTheLastMemberGivesTheEmptyArchive)
{
    TVfsPAK pak;
    build(pak, {{u"only"_s, QByteArray(1000, 'x')}});
    ASSERT_TRUE(pak.Delete(u"ONLY"));
    EXPECT_TRUE(pak.Names().isEmpty());
    EXPECT_EQ(readFile(file()), EmptyArchive);
}

TEST_F(PakTest, DeletingSeveralAtOnceKeepsTheRestInOrder)
{
    TVfsPAK pak;
    build(pak,
          {{u"0"_s, "zero"_ba}, {u"1"_s, "one"_ba}, {u"2"_s, "two"_ba}, {u"3"_s, "three"_ba}, {u"4"_s, {}}});
    ASSERT_TRUE(pak.deleteMembers({3, 0, 4}));
    EXPECT_EQ(readFile(file()), PakBytes::archive({{"1", "one"}, {"2", "two"}}));
    // Members at the end: no data moves, only the directory.
    ASSERT_TRUE(pak.Delete(u"2"));
    EXPECT_EQ(readFile(file()), PakBytes::archive({{"1", "one"}}));
}

TEST_F(PakTest, DeletingAnAbsentNameChangesNothing)
{
    TVfsPAK pak;
    build(pak, {{u"A"_s, "a"_ba}});
    const QByteArray before = readFile(file());
    EXPECT_TRUE(pak.Delete(u"B"));
    EXPECT_EQ(readFile(file()), before);
}

// Members need not lie in directory order nor back to back; deleting must still keep each one's bytes.
TEST_F(PakTest, DeleteCopesWithGapsAndAnyDirectoryOrder)
{
    // Data: X at 12 (3 bytes), two stray bytes, Y at 17 (4 bytes); the directory lists Y first.
    const QByteArray bytes = PakBytes::header(21, 256) + "XXX" + "--" + "YYYY" + PakBytes::entry("Y", 17, 4) +
                             PakBytes::entry("X", 12, 3);
    ASSERT_TRUE(writeFile(file(), bytes));
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(), TVfsPAK::Mode::OpenExisting)) << qPrintable(pak.errorString());
    ASSERT_TRUE(pak.Delete(u"X"));
    EXPECT_EQ(pak.Extract(u"Y"), "YYYY"_ba);
    EXPECT_EQ(readFile(file()), PakBytes::header(18, 128) + "--" + "YYYY" + PakBytes::entry("Y", 14, 4));
}

TEST_F(PakTest, LookupIgnoresCase)
{
    TVfsPAK pak;
    build(pak, {{u"Serr0.xml"_s, "x"_ba}, {u"Żaba.GIF"_s, "y"_ba}});
    EXPECT_EQ(pak.IndexOfName(u"serr0.xml"), 0);
    EXPECT_EQ(pak.IndexOfName(u"SERR0.XML"), 0);
    EXPECT_EQ(pak.IndexOfName(u"żABA.gif"), 1);
    EXPECT_EQ(pak.IndexOfName(u"Serr1.xml"), -1);
    EXPECT_EQ(pak.Extract(u"serr0.XML"), "x"_ba);
}

TEST_F(PakTest, NameOf119CharactersRoundTripsAndLongerIsRefused)
{
    const QString longest(119, u'n');
    TVfsPAK pak;
    build(pak, {{longest, "data"_ba}});
    const QByteArray bytes = readFile(file());
    const qsizetype field = 12 + 4;
    EXPECT_EQ(bytes.mid(field, 119), QByteArray(119, 'n'));
    EXPECT_EQ(bytes[field + 119], '\0');

    const QByteArray before = readFile(file());
    EXPECT_FALSE(pak.AddStream("x", QString(120, u'n')));
    EXPECT_TRUE(pak.errorString().contains(u"119"_s)) << qPrintable(pak.errorString());
    EXPECT_FALSE(pak.AddStream("x", u"日本.txt"_s));
    EXPECT_FALSE(pak.AddStream("x", u"a\0b"_s));
    EXPECT_EQ(readFile(file()), before);

    TVfsPAK again;
    ASSERT_TRUE(again.Open(file(), TVfsPAK::Mode::OpenExisting));
    EXPECT_EQ(again.Names(), QStringList{longest});
}

TEST_F(PakTest, ReadsANameThatFillsTheWholeField)
{
    const QByteArray name(120, 'q');
    ASSERT_TRUE(writeFile(file(), PakBytes::archive({{name, "abc"}})));
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(), TVfsPAK::Mode::OpenExisting));
    ASSERT_EQ(pak.Names(), QStringList{QString(120, u'q')});
    EXPECT_EQ(pak.Extract(QString(120, u'q')), "abc"_ba);

    // Rewriting the directory keeps it as it was.
    ASSERT_TRUE(pak.AddStream("d", u"next"_s));
    EXPECT_EQ(readFile(file()), PakBytes::archive({{name, "abc"}, {"next", "d"}}));
}

TEST_F(PakTest, AddStreamTakesTheWholeDeviceWhateverItsPosition)
{
    QByteArray content("0123456789");
    QBuffer buffer(&content);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    buffer.seek(7);
    TVfsPAK pak;
    build(pak, {});
    ASSERT_TRUE(pak.AddStream(buffer, u"d"_s));
    EXPECT_EQ(pak.Extract(u"d"), content);
}

TEST_F(PakTest, AddFileCopiesTheFileAndFailsForOneItCannotRead)
{
    const QByteArray content(70000, 'f');
    ASSERT_TRUE(writeFile(file(u"disk.bin"_s), content));
    TVfsPAK pak;
    build(pak, {{u"first"_s, "1"_ba}});
    ASSERT_TRUE(pak.AddFile(file(u"disk.bin"_s), u"member.bin"_s));
    // A missing file is no success: the caller would name a member the archive does not hold.
    EXPECT_FALSE(pak.AddFile(file(u"missing.bin"_s), u"missing.bin"_s));
    EXPECT_TRUE(pak.errorString().contains(u"missing.bin"_s));
    EXPECT_FALSE(pak.AddFile(dir.path(), u"folder"_s));
    EXPECT_EQ(readFile(file()), PakBytes::archive({{"first", "1"}, {"member.bin", content}}));
    EXPECT_EQ(pak.Names(), QStringList({u"first"_s, u"member.bin"_s}));
}

TEST_F(PakTest, ClearLeavesTheEmptyArchiveAndStaysUsable)
{
    TVfsPAK pak;
    build(pak, {{u"a"_s, QByteArray(5000, 'a')}, {u"b"_s, "b"_ba}});
    ASSERT_TRUE(pak.clear());
    EXPECT_TRUE(pak.Names().isEmpty());
    EXPECT_EQ(readFile(file()), EmptyArchive);
    ASSERT_TRUE(pak.AddStream("c", u"c"_s));
    EXPECT_EQ(readFile(file()), PakBytes::archive({{"c", "c"}}));
}

TEST_F(PakTest, ReadOnlyModeReadsButNeverWrites)
{
    ASSERT_TRUE(writeFile(file(), PakBytes::archive({{"a", "aa"}})));
    ASSERT_TRUE(writeFile(file(u"empty.pak"_s), {}));
    const QByteArray before = readFile(file());
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(file(), TVfsPAK::Mode::ReadOnly));
    EXPECT_EQ(pak.Extract(u"a"), "aa"_ba);
    EXPECT_FALSE(pak.AddStream("x", u"x"_s));
    EXPECT_FALSE(pak.Delete(u"a"));
    EXPECT_FALSE(pak.clear());
    EXPECT_EQ(readFile(file()), before);

    ASSERT_TRUE(pak.Open(file(u"empty.pak"_s), TVfsPAK::Mode::ReadOnly));
    EXPECT_TRUE(pak.Names().isEmpty());
    EXPECT_EQ(QFileInfo(file(u"empty.pak"_s)).size(), 0);
}

TEST_F(PakTest, OperationsOnAClosedArchiveFail)
{
    TVfsPAK pak;
    EXPECT_FALSE(pak.AddStream("x", u"x"_s));
    EXPECT_FALSE(pak.Delete(u"x"));
    EXPECT_FALSE(pak.clear());
    EXPECT_EQ(pak.Extract(u"x"), std::nullopt);
    EXPECT_EQ(pak.IndexOfName(u"x"), -1);
}

// A write that fails halfway (here: the file size limit) must leave the archive as it was.
TEST_F(PakTest, FailedAddLeavesTheOldArchive)
{
    TVfsPAK pak;
    build(pak, {{u"a"_s, QByteArray(3000, 'a')}, {u"b"_s, "b"_ba}});
    const QByteArray before = readFile(file());

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = static_cast<rlim_t>(before.size() + 100);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool added = pak.AddStream(QByteArray(10000, 'n'), u"big"_s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(added);
    EXPECT_FALSE(pak.errorString().isEmpty());
    EXPECT_EQ(pak.Names(), QStringList({u"a"_s, u"b"_s}));
    EXPECT_EQ(readFile(file()), before);
    EXPECT_TRUE(pak.AddStream("c", u"c"_s));
}

namespace {

struct HostileCase {
    const char *what;
    QByteArray bytes;
};

std::vector<HostileCase> hostileCases()
{
    using namespace PakBytes;
    const QByteArray good = archive({{"a", "12345"}, {"b", "678"}});
    return {
        {"shorter than the header", "PACK\x0c\0\0"_ba},
        {"wrong magic", header(12, 0, "PAKC")},
        {"text file", "Hello, this is no archive at all."_ba},
        {"truncated inside the directory", good.first(good.size() - 20)},
        {"directory offset beyond the end", header(5000, 0)},
        {"directory offset inside the header", header(4, 128) + entry("a", 12, 0)},
        {"directory length beyond the end", header(12, 256) + entry("a", 12, 0)},
        {"directory length not a multiple of 128", header(12, 100) + QByteArray(100, '\0')},
        {"directory claiming gigabytes", header(12, 0x7FFFFF80) + entry("a", 12, 0)},
        {"negative directory length", header(12, -128) + entry("a", 12, 0)},
        {"negative directory offset", header(-100, 0)},
        {"member offset inside the header", header(17, 128) + "12345" + entry("a", 4, 5)},
        {"member running into the directory", header(17, 128) + "12345" + entry("a", 12, 6)},
        {"member beyond the end of the file", header(17, 128) + "12345" + entry("a", 12, 0x7FFFFFF0)},
        {"negative member size", header(17, 128) + "12345" + entry("a", 12, -1)},
        {"negative member offset", header(17, 128) + "12345" + entry("a", -8, 1)},
        {"members sharing bytes", header(17, 256) + "12345" + entry("a", 12, 4) + entry("b", 14, 3)},
    };
}

} // namespace

TEST_F(PakTest, RefusesDamagedArchivesAndLeavesThemUntouched)
{
    for (const HostileCase &c : hostileCases()) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeFile(file(), c.bytes));
        TVfsPAK pak;
        build(pak, {{u"earlier"_s, "e"_ba}}, file(u"other.pak"_s));
        EXPECT_FALSE(pak.Open(file(), TVfsPAK::Mode::OpenExisting));
        EXPECT_FALSE(pak.isOpen());
        EXPECT_TRUE(pak.Names().isEmpty());
        EXPECT_FALSE(pak.errorString().isEmpty());
        EXPECT_EQ(readFile(file()), c.bytes);
        EXPECT_FALSE(pak.AddStream("x", u"x"_s));
        EXPECT_EQ(readFile(file()), c.bytes);
    }
}
