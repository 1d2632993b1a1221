#include "print/SheetCode.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

SheetCode sample()
{
    SheetCode c;
    c.fingerprint = u"00ff00ff00ff00ff"_s;
    c.versions = 3;
    c.version = 2;
    c.shuffled = true;
    c.seed = 4294967295u;
    c.questions = 45;
    c.answers = 5;
    c.pupil = 31;
    c.className = u"2 c|d%"_s;
    c.firstName = u"Łucja"_s;
    c.surname = u"Gęśla-Żółć"_s;
    c.classScale = std::array<int, 5>{95, 85, 75, 50, 30};
    return c;
}

// The check sum recomputed, as someone forging a code would do it.
QByteArray resealed(QByteArray body)
{
    body = body.left(body.lastIndexOf('|') + 1);
    return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex().left(8);
}

TEST(SheetCode, RoundTripsEveryFieldInPlainAscii)
{
    for (SheetCode c : {sample(), SheetCode{}}) {
        if (c.fingerprint.isEmpty())
            c.fingerprint = u"0123456789abcdef"_s;
        const QByteArray bytes = encodeSheetCode(c);
        for (char ch : bytes)
            EXPECT_TRUE(ch >= 0x20 && ch < 0x7f) << bytes.toStdString();
        QString why;
        const std::optional<SheetCode> back = decodeSheetCode(bytes, &why);
        ASSERT_TRUE(back) << why.toStdString();
        EXPECT_EQ(*back, c);
    }
}

TEST(SheetCode, RefusesDamagedAndForgedCodes)
{
    const QByteArray good = encodeSheetCode(sample());
    QByteArray flipped = good;
    flipped[10] = flipped[10] == '0' ? '1' : '0';
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"someone else's code", "https://example.org/"},
        {"one character changed", flipped},
        {"cut short", good.left(good.size() - 3)},
        {"version beyond the versions", resealed(QByteArray(good).replace("|3|2|", "|3|7|"))},
        {"27 versions", resealed(QByteArray(good).replace("|3|2|", "|27|2|"))},
        {"seed too large", resealed(QByteArray(good).replace("S4294967295", "S4294967296"))},
        {"too many questions", resealed(QByteArray(good).replace("|45x5|", "|46x5|"))},
        {"page beyond the pages", resealed(QByteArray(good).replace("|1/1|", "|2/1|"))},
        {"negative pupil", resealed(QByteArray(good).replace("|31|", "|-1|"))},
        {"control character in a name", resealed(QByteArray(good).replace("%C5%81ucja", "%01ucja"))},
        {"broken UTF-8 in a name", resealed(QByteArray(good).replace("%C5%81ucja", "%C5ucja"))},
        {"threshold over 100", resealed(QByteArray(good).replace("95,85", "195,85"))},
        {"a field too many", resealed(QByteArray(good).replace("|31|", "|31|x|"))},
        {"huge", resealed(QByteArray(good).replace("|1/1|", "|1/1" + QByteArray(2000, '1') + "|"))},
    };
    for (const Case &c : cases) {
        QString why;
        EXPECT_FALSE(decodeSheetCode(c.bytes, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
    }
}

TEST(SheetCode, FingerprintFollowsTheQuestionsAndTheKey)
{
    TestModel a;
    a.header.questionCount = 2;
    a.header.answerCount = 3;
    a.question(1).text = u"Ile to 2 + 2?"_s;
    a.question(1).answers = {u"3"_s, u"4"_s, u"5"_s, {}, {}};
    a.question(1).correct = u"01000"_s;
    a.question(2).text = u"Stolica Polski?"_s;
    TestModel b = a;
    b.header.testName = u"inna nazwa"_s;
    EXPECT_EQ(testFingerprint(a), testFingerprint(b)) << "the name is not what the key depends on";
    b.question(1).correct = u"00100"_s;
    EXPECT_NE(testFingerprint(a), testFingerprint(b));
    b = a;
    b.question(2).text += u'.';
    EXPECT_NE(testFingerprint(a), testFingerprint(b));
    EXPECT_EQ(testFingerprint(a).size(), 16);
}

} // namespace
