#include "storage/ArchiveAccess.h"

#include "support/GifFixture.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

class ArchiveTest : public ::testing::Test {
protected:
    QString file(const QString &name) const { return dir.filePath(name); }

    std::unique_ptr<TVfsPAK> created(const QString &name,
                                     const QList<std::pair<QString, QByteArray>> &members)
    {
        auto a = NewArchive();
        EXPECT_TRUE(CreateArchive(file(name), *a));
        for (const auto &[member, data] : members)
            EXPECT_TRUE(PutStream(member, data, *a));
        return a;
    }

    static QByteArray imageBytes(const QImage &image, const char *format)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format));
        return bytes;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ArchiveTest, PutStreamTwiceKeepsOneMemberWithTheSecondContent)
{
    auto a = created(u"t.pak"_s, {{u"Serr0.xml"_s, "first"_ba}, {u"other"_s, "o"_ba}});
    ASSERT_TRUE(PutStream(u"SERR0.XML"_s, "second", *a));
    QStringList names;
    ListMembers(names, *a);
    EXPECT_EQ(names, QStringList({u"other"_s, u"SERR0.XML"_s}));
    EXPECT_EQ(ExtractStream(u"serr0.xml", *a), "second"_ba);
}

TEST_F(ArchiveTest, PutFileWithADiskFileItCannotReadFailsAndKeepsTheMember)
{
    const QByteArray before = PakBytes::archive({{"obraz.jpg", "old"}, {"keep", "k"}});
    auto a = created(u"t.pak"_s, {{u"obraz.jpg"_s, "old"_ba}, {u"keep"_s, "k"_ba}});
    for (const QString &source : {file(u"nowhere.jpg"_s), dir.path()}) {
        EXPECT_FALSE(PutFile(source, u"obraz.jpg"_s, *a)) << source.toStdString();
        EXPECT_EQ(ExtractStream(u"obraz.jpg", *a), "old"_ba);
        EXPECT_EQ(readFile(file(u"t.pak"_s)), before);
    }
}

TEST_F(ArchiveTest, PutFileReplacesTheMemberWithTheDiskFile)
{
    ASSERT_TRUE(writeFile(file(u"new.txt"_s), "fresh content"));
    auto a = created(u"t.pak"_s, {{u"plik.txt"_s, "old"_ba}, {u"keep"_s, "k"_ba}});
    EXPECT_TRUE(PutFile(file(u"new.txt"_s), u"plik.txt"_s, *a));
    EXPECT_EQ(readFile(file(u"t.pak"_s)), PakBytes::archive({{"keep", "k"}, {"plik.txt", "fresh content"}}));
}

TEST_F(ArchiveTest, UnstorableNamesLeaveTheOldMemberInPlace)
{
    const QString tooLong(120, u'x');
    ASSERT_TRUE(writeFile(file(u"t.pak"_s), PakBytes::archive({{QByteArray(120, 'x'), "old"}})));
    auto a = NewArchive();
    ASSERT_TRUE(OpenArchive(file(u"t.pak"_s), *a));
    const QByteArray before = readFile(file(u"t.pak"_s));
    EXPECT_FALSE(PutStream(tooLong, "new", *a));
    EXPECT_FALSE(PutFile(file(u"t.pak"_s), tooLong, *a));
    EXPECT_EQ(readFile(file(u"t.pak"_s)), before);
}

TEST_F(ArchiveTest, CopyAllMembersReplacesSameNamesAndKeepsTheOthers)
{
    auto target = created(u"target.pak"_s,
                          {{u"keep.txt"_s, "kept"_ba}, {u"Shared.txt"_s, "old"_ba}, {u"last"_s, "l"_ba}});
    auto source =
        created(u"source.pak"_s, {{u"shared.TXT"_s, "new"_ba}, {u"image.jpg"_s, QByteArray(20000, 'j')}});
    const QByteArray sourceBefore = readFile(file(u"source.pak"_s));

    ASSERT_TRUE(CopyAllMembers(*source, *target));
    EXPECT_EQ(readFile(file(u"target.pak"_s)), PakBytes::archive({{"keep.txt", "kept"},
                                                                  {"last", "l"},
                                                                  {"shared.TXT", "new"},
                                                                  {"image.jpg", QByteArray(20000, 'j')}}));
    EXPECT_EQ(readFile(file(u"source.pak"_s)), sourceBefore);
}

TEST_F(ArchiveTest, CopyAllMembersTakesTheLastOfRepeatedSourceNames)
{
    ASSERT_TRUE(writeFile(file(u"source.pak"_s), PakBytes::archive({{"a", "1"}, {"b", "2"}, {"A", "3"}})));
    auto source = NewArchive();
    ASSERT_TRUE(OpenArchive(file(u"source.pak"_s), *source));
    auto target = created(u"target.pak"_s, {{u"a"_s, "0"_ba}});
    ASSERT_TRUE(CopyAllMembers(*source, *target));
    EXPECT_EQ(readFile(file(u"target.pak"_s)), PakBytes::archive({{"b", "2"}, {"A", "3"}}));
}

TEST_F(ArchiveTest, CopyAllMembersLeavesBehindOnlyANameItCannotStore)
{
    // Another program may fill all 120 bytes of a name; the members around it must still arrive.
    ASSERT_TRUE(
        writeFile(file(u"source.pak"_s),
                  PakBytes::archive({{"Serr0.xml", "<t/>"}, {QByteArray(120, 'x'), "?"}, {"b.jpg", "j"}})));
    auto source = NewArchive();
    ASSERT_TRUE(OpenArchive(file(u"source.pak"_s), *source));
    auto target = created(u"target.pak"_s, {});
    ASSERT_TRUE(CopyAllMembers(*source, *target));
    EXPECT_EQ(readFile(file(u"target.pak"_s)), PakBytes::archive({{"Serr0.xml", "<t/>"}, {"b.jpg", "j"}}));
}

TEST_F(ArchiveTest, CopyAllMembersIntoItselfChangesNothing)
{
    auto a = created(u"t.pak"_s, {{u"a"_s, "1"_ba}, {u"b"_s, "2"_ba}});
    const QByteArray before = readFile(file(u"t.pak"_s));
    EXPECT_TRUE(CopyAllMembers(*a, *a));
    EXPECT_EQ(readFile(file(u"t.pak"_s)), before);
}

TEST_F(ArchiveTest, CopyMemberCopiesOneAndRefusesAnAbsentOne)
{
    auto source = created(u"s.pak"_s, {{u"Serr0.xml"_s, "<x/>"_ba}, {u"pic.gif"_s, "GIF"_ba}});
    auto target = created(u"t.pak"_s, {{u"serr0.xml"_s, "old"_ba}});
    ASSERT_TRUE(CopyMember(*source, *target, u"SERR0.xml"));
    EXPECT_EQ(readFile(file(u"t.pak"_s)), PakBytes::archive({{"SERR0.xml", "<x/>"}}));
    const QByteArray before = readFile(file(u"t.pak"_s));
    EXPECT_FALSE(CopyMember(*source, *target, u"missing"));
    EXPECT_EQ(readFile(file(u"t.pak"_s)), before);
}

TEST_F(ArchiveTest, DeleteAllMembersLeavesTheEmptyArchive)
{
    auto a = created(u"t.pak"_s, {{u"a"_s, QByteArray(100000, 'a')}, {u"b"_s, "b"_ba}, {u"c"_s, {}}});
    ASSERT_TRUE(DeleteAllMembers(*a));
    QStringList names{u"stale"_s};
    ListMembers(names, *a);
    EXPECT_TRUE(names.isEmpty());
    EXPECT_EQ(readFile(file(u"t.pak"_s)), PakBytes::header(12, 0));
}

TEST_F(ArchiveTest, AnArchiveThatFailedToOpenHasNoMembers)
{
    const QByteArray notAnArchive = "PAKK this is not an archive";
    ASSERT_TRUE(writeFile(file(u"bad.skt"_s), notAnArchive));
    auto a = created(u"t.pak"_s, {{u"Serr0.xml"_s, "x"_ba}});
    EXPECT_FALSE(OpenArchive(file(u"bad.skt"_s), *a));
    EXPECT_FALSE(HasMember(u"Serr0.xml", *a));
    EXPECT_EQ(ExtractStream(u"Serr0.xml", *a), std::nullopt);
    QStringList lines;
    EXPECT_FALSE(ExtractLines(u"Serr0.xml", lines, *a));
    QStringList names{u"stale"_s};
    ListMembers(names, *a);
    EXPECT_TRUE(names.isEmpty());
    EXPECT_FALSE(PutStream(u"x"_s, "x", *a));
    EXPECT_EQ(readFile(file(u"bad.skt"_s)), notAnArchive);
    EXPECT_FALSE(OpenArchive(file(u"missing.skt"_s), *a));
}

TEST_F(ArchiveTest, FreeArchiveAcceptsAnEmptyHandle)
{
    std::unique_ptr<TVfsPAK> none;
    FreeArchive(none);
    auto a = created(u"t.pak"_s, {});
    FreeArchive(a);
    EXPECT_EQ(a, nullptr);
}

TEST_F(ArchiveTest, ExtractLinesSplitsOnEveryLineEnd)
{
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"a\r\nb\nc\rd", {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
        {"one\r\n", {u"one"_s}},
        {"", {}},
        {"\r\n\r\n", {u""_s, u""_s}},
        {"x\n\ry", {u"x"_s, u""_s, u"y"_s}},
        {"\xA3\xF3\x64\x9F \xB9\xEA", {u"Łódź ąę"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        auto a = created(u"t.pak"_s, {{u"lista.txt"_s, c.bytes}});
        QStringList lines{u"stale"_s};
        ASSERT_TRUE(ExtractLines(u"LISTA.TXT", lines, *a));
        EXPECT_EQ(lines, c.lines);
    }
    auto a = created(u"t.pak"_s, {});
    QStringList untouched{u"keep"_s};
    EXPECT_FALSE(ExtractLines(u"absent.txt", untouched, *a));
    EXPECT_EQ(untouched, QStringList{u"keep"_s});
}

TEST_F(ArchiveTest, ExtractPictureChoosesTheDecoderByExtension)
{
    QImage blue(6, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const QByteArray jpeg = JpegFixture::gradientJpeg(40, 30);
    auto a = created(u"t.pak"_s, {{u"zdjecie.jpg"_s, jpeg},
                                  {u"ruch.gif"_s, GifFixture::encode(blue)},
                                  {u"mapa.Bmp"_s, imageBytes(blue, "BMP")},
                                  {u"rysunek.png"_s, imageBytes(blue, "PNG")},
                                  {u"foto.jpeg"_s, jpeg}});
    QImage image;
    ASSERT_TRUE(ExtractPicture(u"zdjecie.jpg", image, *a));
    EXPECT_EQ(image.size(), QSize(40, 30));
    ASSERT_TRUE(ExtractPicture(u"RUCH.GIF", image, *a));
    EXPECT_EQ(image.size(), QSize(6, 4));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::blue));
    image = QImage();
    ASSERT_TRUE(ExtractPicture(u"mapa.bmp", image, *a));
    EXPECT_EQ(image.pixelColor(5, 3), QColor(Qt::blue));

    const QImage before = image;
    EXPECT_FALSE(ExtractPicture(u"rysunek.png", image, *a));
    EXPECT_FALSE(ExtractPicture(u"foto.jpeg", image, *a));
    EXPECT_FALSE(ExtractPicture(u"absent.jpg", image, *a));
    EXPECT_EQ(image, before);
}
