#include "storage/Cp1250.h"
#include "storage/FieldCoding.h"
#include "storage/SubstitutionTables.h"
#include "storage/TpkXML.h"

#include <QRandomGenerator>
#include <QSet>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Cp1250, EveryByteSurvivesTheRoundTrip)
{
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    EXPECT_EQ(Cp1250::fromUnicode(Cp1250::toUnicode(all)), all);
}

TEST(Cp1250, AgreesWithTheSystemCodecOnDefinedBytes)
{
    QStringDecoder system("windows-1250");
    ASSERT_TRUE(system.isValid());
    for (int i = 0; i < 256; ++i) {
        if (i == 0x81 || i == 0x83 || i == 0x88 || i == 0x90 || i == 0x98)
            continue; // undefined in the code page
        const char b = static_cast<char>(i);
        const QString expected = system.decode(QByteArrayView(&b, 1));
        EXPECT_EQ(Cp1250::toUnicode(b), expected) << "byte " << i;
    }
}

TEST(Cp1250, PolishLettersAndForeignCharacters)
{
    EXPECT_EQ(Cp1250::fromUnicode(u"ąęłńóśźż ĄĘŁŃÓŚŹŻ"_s),
              QByteArray("\xB9\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xCA\xA3\xD1\xD3\x8C\x8F\xAF"));
    EXPECT_EQ(Cp1250::fromUnicode(u"日本"_s), QByteArray("??"));
}

TEST(DocumentCoding, Base64OfUtf16)
{
    EXPECT_EQ(EncodeWide(u""), u""_s);
    EXPECT_EQ(EncodeWide(u"A"), u"QQA="_s);
    EXPECT_EQ(EncodeWide(u"Zażółć"), QString::fromLatin1(QByteArray::fromRawData(
        reinterpret_cast<const char *>(u"Zażółć"), 12).toBase64()));
    for (const QString &s : {u""_s, u"x"_s, u"ab"_s, u"Źdźbło\r\ntrawy & <b>"_s, QString(1000, u'ł')})
        EXPECT_EQ(DecodeWide(EncodeWide(s)), s);
}

TEST(DocumentCoding, DecodingRules)
{
    struct Case {
        QString in;
        QByteArray bytes;
    } cases[] = {
        {u"QQ="_s, {}},                    // shorter than a group
        {u"QUJD"_s, "ABC"},                // three bytes
        {u"QUI="_s, "AB"},                 // fourth is padding
        {u"QQ=="_s, "A"},                  // third is padding
        {u"QUJDRA"_s, "ABC"},              // incomplete trailing group ignored
    };
    for (const Case &c : cases)
        EXPECT_EQ(DecodeBytes(c.in), c.bytes) << c.in.toStdString();
    EXPECT_EQ(DecodeWide(u"QUJD"_s), u"\u4241"_s); // odd last byte dropped
    // Foreign characters do not fail and do not read outside the input.
    EXPECT_EQ(DecodeBytes(u"!!!!€€€€"_s).size(), 6);
}

TEST(DocumentCoding, AccessorsAndErrorCodes)
{
    TpkXML doc;
    int err = -1;
    WriteDocInteger(true, {u"tst"_s, u"nag"_s, u"ilp"_s}, 0, doc, err);
    EXPECT_EQ(err, DocOk);
    WriteDocString(true, {u"tst"_s, u"nag"_s, u"nmt"_s}, u""_s, doc, err);
    WriteDocString(true, {u"tst"_s, u"p1"_s, u"tr"_s}, u"Ile to 2+2?"_s, doc, err);
    WriteDocInteger(true, {u"tst"_s, u"nag"_s, u"big"_s}, qint64(1) << 40, doc, err);
    EXPECT_EQ(err, DocNotInteger);

    TpkXML back;
    ASSERT_TRUE(back.LoadFromBytes(doc.SaveToBytes()));
    EXPECT_EQ(ReadDocInteger(true, {u"tst"_s, u"nag"_s, u"ilp"_s}, back, err), 0);
    EXPECT_EQ(err, DocOk); // "0" is not empty, so it was written
    EXPECT_EQ(ReadDocString(true, {u"tst"_s, u"p1"_s, u"tr"_s}, back, err), u"Ile to 2+2?"_s);
    EXPECT_EQ(ReadDocString(true, {u"tst"_s, u"nag"_s, u"nmt"_s}, back, err), u""_s);
    EXPECT_EQ(ReadDocInteger(true, {u"tst"_s, u"nag"_s, u"nmt"_s}, back, err), 0);
    EXPECT_EQ(err, DocNotInteger);
    EXPECT_FALSE(doc.SaveToBytes().contains("nmt")); // empty element left out
}

TEST(DocumentCoding, MarkerIsCaseSensitive)
{
    for (const auto &[marker, coded] : {std::pair{u"tr"_s, true}, {u"TR"_s, false}, {u"fa"_s, false}}) {
        TpkXML doc;
        doc.DocumentChild(u"pyt")->ChildByName(u"cd")->SetText(marker);
        EXPECT_EQ(IsDocumentCoded(doc, u"pyt"_s), coded);
    }
    TpkXML empty;
    EXPECT_FALSE(IsDocumentCoded(empty, u"pyt"_s));
}

TEST(SettingsCoding, TablesAreInverse)
{
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(SubstitutionTables::decode(SubstitutionTables::encode(byte)), byte);
    }
    // Only a byte no text holds turns into a blank the XML reader would trim.
    for (int b = 32; b < 256; ++b)
        EXPECT_TRUE(b == 0x81 || SubstitutionTables::encode(static_cast<unsigned char>(b)) > 32) << b;
}

TEST(SettingsCoding, RoundTripForEveryPrefix)
{
    QRandomGenerator rng(7);
    const QByteArray texts[] = {"", "1", "Edytor", Cp1250::fromUnicode(u"Zażółć gęślą jaźń"_s), QByteArray(500, 'x')};
    for (const QByteArray &text : texts) {
        QSet<char> leads;
        for (int i = 0; i < 60; ++i) {
            const QByteArray coded = EncodeSetting(text, rng);
            leads.insert(coded[0]);
            EXPECT_EQ(DecodeSetting(coded), text);
            for (qsizetype j = 1; j < coded.size() - text.size(); ++j) {
                EXPECT_GE(static_cast<unsigned char>(coded[j]), 33);
                EXPECT_LE(static_cast<unsigned char>(coded[j]), 232);
            }
        }
        EXPECT_EQ(leads.size(), text.isEmpty() ? 1 : 3);
    }
}

TEST(SettingsCoding, DecodingRules)
{
    const auto enc = [](QByteArray s) {
        for (char &c : s)
            c = static_cast<char>(SubstitutionTables::encode(static_cast<unsigned char>(c)));
        return s;
    };
    EXPECT_FALSE(DecodeSetting(""));
    EXPECT_EQ(DecodeSetting("\xFE" "abc"), QByteArray());
    EXPECT_EQ(DecodeSetting("\x93" "12345" + enc("ok")), QByteArray("ok"));
    EXPECT_EQ(DecodeSetting("\xA7" "1234" + enc("ok")), QByteArray("ok"));
    EXPECT_EQ(DecodeSetting("\xA0" "1"), QByteArray()); // prefix longer than the input
    // No lead byte: decoded whole, without the 500 limit.
    const QByteArray plain = enc(QByteArray(700, 'q'));
    EXPECT_EQ(DecodeSetting(plain)->size(), 700);
    EXPECT_EQ(DecodeSetting("\xA0" "12" + enc(QByteArray(501, 'q')))->size(), 500);
    // The old table is a different table.
    EXPECT_NE(DecodeSettingOld("\xA0" "12" + enc("Edytor")), QByteArray("Edytor"));
}

TEST(SettingsCoding, AccessorsThroughTheXmlFile)
{
    QRandomGenerator rng(3);
    TpkXML doc;
    WriteSettingString(u"ed"_s, u"Edytor"_s, doc, rng);
    WriteSettingString(u"nm"_s, u"Ala ma kota "_s, doc, rng); // trailing blank must survive
    WriteSettingInteger(u"cel"_s, 95, doc, rng);
    WriteSettingFlag(u"al"_s, true, doc, rng);
    WriteSettingFlag(u"ng"_s, false, doc, rng);
    WriteSettingString(u"pusty"_s, u""_s, doc, rng);

    for (int round = 0; round < 20; ++round) {
        TpkXML back;
        ASSERT_TRUE(back.LoadFromBytes(doc.SaveToBytes()));
        EXPECT_EQ(ReadSettingString(u"ed"_s, back), u"Edytor"_s);
        EXPECT_EQ(ReadSettingString(u"nm"_s, back), u"Ala ma kota "_s);
        EXPECT_EQ(ReadSettingString(u"pusty"_s, back), u""_s);
        int value = -1;
        EXPECT_TRUE(ReadSettingInteger(u"cel"_s, value, back));
        EXPECT_EQ(value, 95);
        EXPECT_FALSE(ReadSettingInteger(u"brak"_s, value, back));
        EXPECT_EQ(value, 0);
        EXPECT_FALSE(ReadSettingInteger(u"ed"_s, value, back)); // not a number
        EXPECT_EQ(ReadSettingFlag(u"al"_s, back), true);
        EXPECT_EQ(ReadSettingFlag(u"ng"_s, back), false);
        EXPECT_EQ(ReadSettingFlag(u"brak"_s, back), std::nullopt);
        WriteSettingString(u"nm"_s, u"Ala ma kota "_s, doc, rng); // fresh filler each round
    }
}
