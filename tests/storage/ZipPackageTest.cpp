#include "storage/ZipPackage.h"

#include "support/WordFixtures.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using WordFixtures::zip;

namespace {

TEST(ZipPackage, ReadsMembersAndCountsWhatItExpanded)
{
    const QByteArray text(3000, 'x');
    ZipPackage p;
    ASSERT_TRUE(p.open(zip({{u"a/b.xml"_s, text}, {u"mimetype"_s, "m", true}}))) << p.error().toStdString();
    EXPECT_EQ(p.names(), (QStringList{u"a/b.xml"_s, u"mimetype"_s}));
    EXPECT_EQ(p.read(u"a/b.xml"_s), text);
    EXPECT_EQ(p.read(u"mimetype"_s), QByteArray("m"));
    EXPECT_EQ(p.expanded(), 3001);
    EXPECT_FALSE(p.read(u"brak"_s));
    EXPECT_TRUE(p.error().contains(u"brak"_s));
}

TEST(ZipPackage, BoundsRefuseBombsBeforeTheBytesAreMade)
{
    const QByteArray package = zip({{u"a"_s, QByteArray(4000, 'a')}, {u"b"_s, QByteArray(4000, 'b')}});
    struct Case {
        const char *name;
        ZipPackage::Limits limits;
        bool opens;
        bool readsA;
        bool readsB;
    };
    ZipPackage::Limits member;
    member.memberBytes = 3999;
    ZipPackage::Limits total;
    total.totalBytes = 6000;
    ZipPackage::Limits count;
    count.members = 1;
    ZipPackage::Limits ratio;
    ratio.ratio = 10;
    ratio.ratioFrom = 1000;
    const Case cases[] = {
        {"WithinBounds", {}, true, true, true},      {"MemberTooLarge", member, true, false, false},
        {"TotalTooLarge", total, true, true, false}, {"TooManyMembers", count, false, false, false},
        {"RatioTooHigh", ratio, true, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ZipPackage p;
        ASSERT_EQ(p.open(package, c.limits), c.opens);
        if (!c.opens) {
            EXPECT_TRUE(p.error().contains(u"more than"_s));
            continue;
        }
        EXPECT_EQ(p.read(u"a"_s).has_value(), c.readsA);
        EXPECT_EQ(p.read(u"b"_s).has_value(), c.readsB);
        if (!c.readsB) {
            EXPECT_TRUE(p.error().contains(u"zip bomb"_s));
        }
    }
}

TEST(ZipPackage, DamagedPackagesAreRefused)
{
    const QByteArray good = zip({{u"d.xml"_s, QByteArray(2000, 'q') + "koniec"}});
    ZipPackage p;
    EXPECT_FALSE(p.open("nie zip"));
    EXPECT_FALSE(p.open(good.left(good.size() - 10))); // no central directory
    // The checksum the package gives no longer fits the data.
    QByteArray wrongCrc = good;
    const qsizetype entry = wrongCrc.indexOf("PK\x01\x02");
    ASSERT_GT(entry, 0);
    wrongCrc[14] = static_cast<char>(wrongCrc[14] ^ 0x5A);
    wrongCrc[entry + 16] = static_cast<char>(wrongCrc[entry + 16] ^ 0x5A);
    ASSERT_TRUE(p.open(wrongCrc));
    EXPECT_FALSE(p.read(u"d.xml"_s).has_value());
    EXPECT_TRUE(p.error().contains(u"damaged"_s));
    // A member whose stored size claims more than the data gives: never more bytes than claimed.
    QByteArray lying = good;
    const qsizetype central = lying.indexOf("PK\x01\x02");
    ASSERT_GT(central, 0);
    lying[central + 24] = static_cast<char>(lying[central + 24] + 1); // uncompressed size, low byte
    if (p.open(lying)) {
        const std::optional<QByteArray> read = p.read(u"d.xml"_s);
        EXPECT_TRUE(!read || read->size() <= 2007);
    }
}

} // namespace
