#include "storage/TpkXML.h"
#include "support/FailDevice.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// Loads 8-bit (ASCII) input.
bool load(TpkXML &xml, const char *text)
{
    return xml.LoadFromBytes(QByteArrayView(text, qstrlen(text)));
}

QString polish()
{
    return u"ąęłńóśźż ĄĘŁŃÓŚŹŻ"_s;
}

const char kPolishCp1250[] = "\xB9\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xCA\xA3\xD1\xD3\x8C\x8F\xAF";

} // namespace

// --- Writer ---

TEST(TpkXMLWriter, WritesTheFixedLayoutAndLeavesEmptyElementsOut)
{
    TpkXML xml;
    TpkXMLNode *pyt = xml.DocumentChild(u"pyt");
    pyt->attrs().add(u"id"_s, u"7"_s);
    pyt->attrs().add(u"pusty"_s, QString()); // empty attribute: not written
    pyt->addChild(u"name"_s)->SetText(u"A&b"_s);
    pyt->addChild(u"nic"_s); // empty leaf: left out
    TpkXMLNode *grp = pyt->addChild(u"grp"_s);
    grp->addChild(u"x"_s)->SetText(u"1"_s);
    pyt->addChild(u"tag"_s)->attrs().add(u"k"_s, u"v"_s); // empty but has a value: self-closed
    pyt->addChild(u"tylkoPuste"_s)->addChild(u"nic"_s); // has a child, so written though it shows none

    const QByteArray expected = "<?xml encoding=\"WINDOWS-1250\"?>\r\n"
                                "<pyt id=\"7\">\r\n"
                                "\t<name>A&amp;b</name>\r\n"
                                "\t<grp>\r\n"
                                "\t\t<x>1</x>\r\n"
                                "\t</grp>\r\n"
                                "\t<tag k=\"v\"/>\r\n"
                                "\t<tylkoPuste>\r\n"
                                "\t</tylkoPuste>\r\n"
                                "</pyt>\r\n";
    EXPECT_EQ(xml.SaveToBytes(), expected);
    // The declaration was added in the first place.
    EXPECT_EQ(xml.root().child(0)->name, u"xml");
    EXPECT_EQ(xml.root().child(0)->kind, TpkXMLNode::Instruction);
}

TEST(TpkXMLWriter, WritesCdataCommentsAndOptions)
{
    TpkXML xml;
    TpkXMLNode *a = xml.DocumentChild(u"a");
    a->cdata = u"p]]>q[cdata[r"_s;
    TpkXMLNode *note = a->addChild(QString(), TpkXMLNode::Comment);
    note->SetText(u"uwaga"_s);
    xml.options.writeDeclaration = false;
    EXPECT_EQ(xml.SaveToBytes(), QByteArray("<a>\r\n"
                                            "\t<![CDATA[p__>q_CDATA_r]]>\r\n"
                                            "\t<!-- uwaga -->\r\n"
                                            "</a>\r\n"));

    TpkXML empties;
    empties.options.writeDeclaration = false;
    empties.DocumentChild(u"e")->attrs().add(u"k"_s, QString());
    EXPECT_EQ(empties.SaveToBytes(), QByteArray());
    empties.options.writeEmptyAttributes = true;
    EXPECT_EQ(empties.SaveToBytes(), QByteArray("<e k=\"\"/>\r\n"));
    empties.options.selfCloseEmpty = false;
    EXPECT_EQ(empties.SaveToBytes(), QByteArray("<e k=\"\"></e>\r\n"));
}

TEST(TpkXMLWriter, PolishLettersBecomeWindows1250BytesBothWays)
{
    TpkXML xml;
    xml.options.writeDeclaration = false;
    xml.DocumentChild(u"a")->SetText(polish());
    EXPECT_EQ(xml.SaveToBytes(), QByteArray("<a>") + kPolishCp1250 + "</a>\r\n");

    TpkXML in;
    ASSERT_TRUE(in.LoadFromBytes(QByteArray("<a>") + kPolishCp1250 + "</a>"));
    EXPECT_EQ(in.DocumentChild(u"a")->Text(), polish());
    EXPECT_FALSE(in.options.unicodeOutput);
}

TEST(TpkXMLWriter, DeclarationIsKeptWithItsAttributesAndOnlyEncodingChanges)
{
    TpkXML xml;
    ASSERT_TRUE(load(xml, "<a>1</a>\r\n<?xml version=\"1.0\" Encoding=\"UTF-8\"?>"));
    EXPECT_EQ(xml.SaveToBytes(), QByteArray("<?xml version=\"1.0\" Encoding=\"WINDOWS-1250\"?>\r\n"
                                            "<a>1</a>\r\n"));
}

TEST(TpkXMLWriter, FailingDeviceMakesSaveFalse)
{
    TpkXML xml;
    xml.DocumentChild(u"pyt")->addChild(u"tr"_s)->SetText(u"abc"_s);
    const QByteArray whole = xml.SaveToBytes();
    for (const qint64 limit : {qint64(0), qint64(5), whole.size() - 1}) {
        FailDevice device(limit);
        ASSERT_TRUE(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        EXPECT_FALSE(xml.SaveToStream(device)) << "limit " << limit;
    }
    FailDevice roomy(whole.size());
    ASSERT_TRUE(roomy.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_TRUE(xml.SaveToStream(roomy));
    EXPECT_EQ(roomy.written(), whole);
}

// --- Escaping ---

TEST(TpkXMLEscaping, EscapesInOrderAndUnescapesInReverse)
{
    EXPECT_EQ(EscapeXmlText(u"a\r\nb"_s), u"a&#13;&#10;b");
    EXPECT_EQ(EscapeXmlText(u"<&>\"'\t"_s), u"&lt;&amp;&gt;&quot;&apos;&#9;");
    EXPECT_EQ(EscapeXmlText(u"&lt;"_s), u"&amp;lt;");

    const struct {
        QString escaped;
        QString plain;
    } cases[] = {
        {u"&AMP;"_s, u"&"_s},          // references match ignoring case
        {u"&Lt;&GT;&QuOt;&apos;"_s, u"<>\"'"_s},
        {u"&amp;lt;"_s, u"&lt;"_s},    // "&amp;" goes last: no double decoding
        {u"&amp;#13;"_s, u"&#13;"_s},
        {u"&#9;&#31;&#1;"_s, u"\t\x1F\x01"_s},
        {u"&#32;&#65;&#0;"_s, u"&#32;&#65;&#0;"_s}, // only codes 1..31 are decoded
        {u"&amp"_s, u"&amp"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UnescapeXmlText(c.escaped), c.plain) << c.escaped.toStdString();
}

TEST(TpkXMLEscaping, ReplaceRoutineDoesNotRescanAndIgnoresCase)
{
    EXPECT_EQ(replaceIgnoringCase(u"aaaa"_s, u"aa", u"a"), u"aa");
    EXPECT_EQ(replaceIgnoringCase(u"xABxab"_s, u"ab", u"-"), u"x-x-");
    EXPECT_EQ(replaceIgnoringCase(u"a"_s, u"ab", u"-"), u"a");
    EXPECT_EQ(replaceIgnoringCase(u"abc"_s, u"", u"-"), u"abc");
}

TEST(TpkXMLEscaping, TextsSurviveAWriteAndARead)
{
    const QString texts[] = {
        u"line\r\nnext"_s,    u"& < > \" '"_s, u"&amp;lt; &#13; &AMP;"_s, u"\ttab\x01"_s,
        u"a  b"_s,            polish(),        u"100%"_s,                 u"]]> <![CDATA["_s,
    };
    TpkXML xml;
    TpkXMLNode *doc = xml.DocumentChild(u"tst");
    for (int i = 0; i < std::ssize(texts); ++i) {
        TpkXMLNode *leaf = doc->addChild(u"v"_s + QString::number(i));
        leaf->SetText(texts[i]);
        leaf->attrs().findOrAdd(u"a")->SetValue(texts[i]);
    }
    const QByteArray bytes = xml.SaveToBytes();

    TpkXML back;
    ASSERT_TRUE(back.LoadFromBytes(bytes));
    TpkXMLNode *read = back.DocumentChild(u"tst");
    ASSERT_EQ(read->childCount(), std::ssize(texts));
    for (int i = 0; i < std::ssize(texts); ++i) {
        EXPECT_EQ(read->child(i)->Text(), texts[i]) << i;
        EXPECT_EQ(read->child(i)->attrs().find(u"A")->Value(), texts[i]) << i;
    }
}

// --- Reader ---

TEST(TpkXMLReader, NamesAndEndTagsMatchIgnoringCase)
{
    TpkXML xml;
    ASSERT_TRUE(load(xml, "<?xml encoding=\"WINDOWS-1250\"?>\r\n<PYT>\r\n\t<Name>x</NAME>\r\n</pyt>\r\n"));
    TpkXMLNode *pyt = xml.DocumentChild(u"pyt");
    EXPECT_EQ(pyt->name, u"PYT");
    EXPECT_TRUE(pyt->closed);
    TpkXMLNode *name = pyt->ChildByName(u"name", 0, -1, false);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Text(), u"x");
    EXPECT_TRUE(name->closed);
    EXPECT_EQ(xml.root().childCount(), 2); // nothing was created by the lookups
}

TEST(TpkXMLReader, TextAroundChildrenIsTrimmedAndConcatenated)
{
    TpkXML xml;
    ASSERT_TRUE(load(xml, "<a> one <b>x</b>\r\n two\t<c>y</c> three </a>"));
    TpkXMLNode *a = xml.DocumentChild(u"a");
    EXPECT_EQ(a->Text(), u"onetwothree");
    EXPECT_EQ(a->child(0)->Text(), u"x");
    EXPECT_EQ(a->child(1)->Text(), u"y");

    // The text after a self-closed element is that element's own.
    ASSERT_TRUE(load(xml, "<a>head<b/> tail </a>"));
    EXPECT_EQ(xml.DocumentChild(u"a")->Text(), u"head");
    EXPECT_EQ(xml.DocumentChild(u"a")->child(0)->Text(), u"tail");

    xml.options.trimText = false;
    ASSERT_TRUE(load(xml, "<a> one <b>x</b> two </a>"));
    // White space after a child is skipped whatever the option says.
    EXPECT_EQ(xml.DocumentChild(u"a")->rawText(), u" one two ");
}

TEST(TpkXMLReader, UnclosedElementAtTheEndLoads)
{
    TpkXML xml;
    ASSERT_TRUE(load(xml, "<a><b>x</b><c>y"));
    TpkXMLNode *a = xml.DocumentChild(u"a");
    EXPECT_FALSE(a->closed);
    EXPECT_TRUE(a->child(0)->closed);
    EXPECT_EQ(a->child(1)->Text(), u"y");
    EXPECT_FALSE(a->child(1)->closed);
}

TEST(TpkXMLReader, StrayEndTagFailsAndKeepsWhatCameBefore)
{
    TpkXML xml;
    EXPECT_FALSE(load(xml, "<a><b>x</b><c>y</d><e>z</e></a>"));
    EXPECT_EQ(xml.mismatchedEndTag(), u"D");
    TpkXMLNode *a = xml.root().child(0);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->childCount(), 2); // b, and c that was open when the fault came
    EXPECT_EQ(a->child(0)->Text(), u"x");
    EXPECT_EQ(a->child(1)->Text(), u"y");
    EXPECT_EQ(a->ChildByName(u"e", 0, -1, false), nullptr);

    TpkXML cut; // an end tag cut off by the end of the file fails the same way
    EXPECT_FALSE(load(cut, "<a><b>x</b"));
    EXPECT_EQ(cut.mismatchedEndTag(), u"B");
}

TEST(TpkXMLReader, ShortInputsAndMissingFiles)
{
    TpkXML xml;
    ASSERT_TRUE(load(xml, "<a>1</a>"));
    EXPECT_FALSE(xml.LoadFromBytes(QByteArray())); // nothing to read: tree untouched
    EXPECT_EQ(xml.root().childCount(), 1);
    EXPECT_FALSE(xml.LoadFromFile(QDir::tempPath() + u"/brak-takiego-pliku.xml"_s));
    EXPECT_EQ(xml.root().childCount(), 1);

    QBuffer atEnd;
    atEnd.setData("<b>2</b>");
    atEnd.open(QIODevice::ReadOnly);
    atEnd.seek(atEnd.size());
    EXPECT_FALSE(xml.LoadFromStream(atEnd));
    EXPECT_EQ(xml.root().childCount(), 1);

    EXPECT_FALSE(load(xml, "<")); // one byte fails after emptying the tree
    EXPECT_EQ(xml.root().childCount(), 0);
}

TEST(TpkXMLReader, StreamIsReadFromItsCurrentPosition)
{
    QBuffer buffer;
    buffer.setData("garbage</x><a>1</a>");
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(11);
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromStream(buffer));
    EXPECT_EQ(xml.DocumentChild(u"a")->Text(), u"1");
}

TEST(TpkXMLReader, FfFeInputIsUtf16WhateverItsDeclarationSays)
{
    QByteArray bytes = utf16le(u"<?xml encoding=\"WINDOWS-1250\"?><a>"_s + polish() + u"</a>"_s);
    bytes.append('\x7F'); // odd trailing byte is dropped
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(bytes));
    EXPECT_TRUE(xml.options.unicodeOutput);
    EXPECT_EQ(xml.DocumentChild(u"a")->Text(), polish());

    xml.options.writeDeclaration = true;
    EXPECT_EQ(xml.SaveToBytes(), utf16le(u"<?xml encoding=\"UTF-16\"?>\r\n<a>"_s + polish() + u"</a>\r\n"_s));
}

TEST(TpkXMLReader, AttributesCdataCommentsAndDeclarations)
{
    TpkXML xml;
    ASSERT_TRUE(load(xml, "<!DOCTYPE x>\n<!-- note -->\n"
                          "<a  X = \"1\" y='2' \"q\" z><![CDATA[<raw> & ]]>t<!-- in --></a>"));
    ASSERT_EQ(xml.root().childCount(), 3);
    EXPECT_EQ(xml.root().child(0)->kind, TpkXMLNode::Declaration);
    EXPECT_EQ(xml.root().child(0)->name, u"DOCTYPE");
    EXPECT_EQ(xml.root().child(1)->kind, TpkXMLNode::Comment);
    EXPECT_EQ(xml.root().child(1)->rawText(), u"note");

    TpkXMLNode *a = xml.DocumentChild(u"a");
    TpkXMLAttrs &attrs = a->attrs();
    ASSERT_EQ(attrs.count(), 4);
    EXPECT_EQ(attrs.find(u"x")->value, u"1");
    EXPECT_EQ(attrs.find(u"Y")->value, u"2");
    EXPECT_EQ(attrs.at(2)->name, QString());
    EXPECT_EQ(attrs.at(2)->value, u"q");
    EXPECT_EQ(attrs.at(3)->name, u"z");
    EXPECT_EQ(attrs.at(3)->value, QString());
    EXPECT_EQ(attrs.at(4), nullptr);
    EXPECT_EQ(a->cdata, u"<raw> & ");
    EXPECT_EQ(a->Text(), u"t");
    ASSERT_EQ(a->childCount(), 1); // the comment; CDATA adds no node
    EXPECT_EQ(a->child(0)->kind, TpkXMLNode::Comment);
}

TEST(TpkXMLReader, BinaryElementsRoundTrip)
{
    const QByteArray payload("\x00\x01<a>\xFF", 7);
    for (const bool unicode : {false, true}) {
        TpkXML xml;
        xml.options.unicodeOutput = unicode;
        TpkXMLNode *doc = xml.DocumentChild(u"doc");
        TpkXMLNode *bin = doc->addChild(u"bin"_s, TpkXMLNode::Binary);
        // UTF-16 output stays aligned only with an even count.
        bin->binary = unicode ? payload + 'x' : payload;
        doc->addChild(u"after"_s)->SetText(u"ok"_s);
        const QByteArray bytes = xml.SaveToBytes();
        if (!unicode) {
            EXPECT_TRUE(bytes.contains(QByteArray("<&bin>\x07\x00\x00\x00", 10) + payload + "</bin>"));
        }

        TpkXML back;
        ASSERT_TRUE(back.LoadFromBytes(bytes)) << unicode;
        TpkXMLNode *readDoc = back.DocumentChild(u"doc");
        ASSERT_EQ(readDoc->childCount(), 2) << unicode;
        EXPECT_EQ(readDoc->child(0)->kind, TpkXMLNode::Binary);
        EXPECT_EQ(readDoc->child(0)->binary, bin->binary);
        EXPECT_TRUE(readDoc->child(0)->closed);
        EXPECT_EQ(readDoc->child(1)->Text(), u"ok");
    }
}

TEST(TpkXMLReader, DamagedInputsFailOrLoadWithoutHarm)
{
    const struct {
        QByteArray input;
        bool ok;
    } cases[] = {
        {"<a", false},
        {"<a><", false},
        {"<a></a", false},
        {"<a x=", false},
        {"<a x=\"1", false},
        {"<a x=1>", false},
        {"<a/ >", false},
        {"<!-- open", false},
        {"<![CDATA[ open", false},
        {"<?xml a=\"1\" ? >", false},
        {QByteArray("<&b>\x01\x00", 6), false},                      // length prefix cut short
        {QByteArray("<&b>\xFF\xFF\xFF\x7F", 8), true},               // 2 GB claimed, nothing there
        {QByteArray("<&b>\x05\x00\x00\x00" "abc", 11), true},          // length runs off the end
        {QByteArray("\x00\x00<\x00" "a\x00>", 7), true},
        {"just text", true},
        {"<a>1</a></a>", false},
        {QByteArray("\xFF\xFE<\x00", 4), false},
        {"\xFF\xFE<", true}, // the odd byte is dropped: nothing left
        {"\xFF\xFE", true},
    };
    for (const auto &c : cases) {
        TpkXML xml;
        EXPECT_EQ(xml.LoadFromBytes(c.input), c.ok) << c.input.toHex().toStdString();
        EXPECT_EQ(xml.errorString().isEmpty(), c.ok) << c.input.toHex().toStdString();
        for (int i = 0; i < xml.root().childCount(); ++i)
            EXPECT_TRUE(xml.root().child(i)->binary.isEmpty());
    }
}

TEST(TpkXMLReader, EveryTruncationLoadsAPrefixOfTheValues)
{
    TpkXML full;
    TpkXMLNode *doc = full.DocumentChild(u"tst");
    doc->addChild(u"cd"_s)->SetText(u"tr"_s);
    for (int i = 1; i <= 4; ++i) {
        TpkXMLNode *q = doc->addChild(u"pyt"_s + QString::number(i));
        q->addChild(u"tr"_s)->SetText(u"Pytanie <%1> & \"odp\"\r\n"_s.arg(i));
        q->addChild(u"od1"_s)->SetText(polish());
    }
    const QByteArray bytes = full.SaveToBytes();

    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        TpkXML xml;
        xml.LoadFromBytes(bytes.first(cut));
        TpkXMLNode *readDoc = xml.root().ChildByName(u"tst", 0, -1, false);
        if (!readDoc)
            continue;
        for (int i = 0; i < readDoc->childCount(); ++i) {
            TpkXMLNode *node = readDoc->child(i);
            TpkXMLNode *original = doc->ChildByName(node->name, 0, -1, false);
            ASSERT_NE(original, nullptr) << cut;
            for (int j = 0; j < node->childCount(); ++j) {
                const QString raw = node->child(j)->rawText();
                EXPECT_TRUE(original->child(j)->rawText().startsWith(raw)) << cut;
            }
        }
    }
}

TEST(TpkXMLReader, RandomBytesNeverCrash)
{
    QRandomGenerator random(1250);
    QByteArray alphabet("<>/!?&=\"' \t\r\n-[]CDATaxml");
    alphabet.append('\0').append('\xFF').append('\xFE');
    for (int round = 0; round < 2000; ++round) {
        QByteArray input(random.bounded(1, 80), '\0');
        for (char &c : input)
            c = alphabet[random.bounded(static_cast<int>(alphabet.size()))];
        TpkXML xml;
        xml.LoadFromBytes(input);
        xml.SaveToBytes();
    }
}

TEST(TpkXMLReader, NestingDepthIsCapped)
{
    auto nested = [](int depth) {
        QByteArray bytes;
        for (int i = 0; i < depth; ++i)
            bytes += "<a>";
        bytes += "x";
        for (int i = 0; i < depth; ++i)
            bytes += "</a>";
        return bytes;
    };
    TpkXML xml;
    EXPECT_TRUE(xml.LoadFromBytes(nested(TpkXML::kMaxDepth)));
    EXPECT_FALSE(xml.LoadFromBytes(nested(TpkXML::kMaxDepth + 1)));
    EXPECT_FALSE(xml.LoadFromBytes(nested(50000)));
    EXPECT_FALSE(xml.errorString().isEmpty());
    EXPECT_EQ(xml.root().child(0)->name, u"a"); // what came before stays
}

TEST(TpkXMLWriter, DeepTreesSaveLinearlyInWhatWasRead)
{
    // Many chains as deep as a load allows: indenting every level made the output grow with the
    // square of the depth (a 1 MB file saved as 80 MB).
    const int depth = TpkXML::kMaxDepth - 1; // below the root element
    QByteArray chain;
    for (int i = 0; i < depth; ++i)
        chain += "<a>";
    chain += "x";
    for (int i = 0; i < depth; ++i)
        chain += "</a>";
    QByteArray input = "<r>";
    for (int i = 0; i < 50; ++i)
        input += chain;
    input += "</r>";
    TpkXML xml;
    ASSERT_TRUE(xml.LoadFromBytes(input));
    const QByteArray saved = xml.SaveToBytes();
    EXPECT_LT(saved.size(), 8 * input.size());
    // Indentation stops growing, the structure does not change.
    TpkXML back;
    ASSERT_TRUE(back.LoadFromBytes(saved));
    const TpkXMLNode *deepest = back.root().ChildByName(u"r", 0, -1, false);
    int levels = 0;
    while (deepest && deepest->childCount() > 0) {
        deepest = deepest->child(0);
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_EQ(back.root().ChildByName(u"r", 0, -1, false)->childCount(), 50);
    // The program's own shallow documents keep one tab per level.
    TpkXML shallow;
    shallow.root().addChild(u"a"_s)->addChild(u"b"_s)->addChild(u"c"_s)->SetText(u"x"_s);
    EXPECT_TRUE(shallow.SaveToBytes().contains("\r\n\t\t<c>x</c>\r\n"));
}

// --- Tree ---

TEST(TpkXMLTree, ChildByNameOccurrenceKindAndCreate)
{
    TpkXMLNode node;
    node.addChild(u"Pyt"_s);
    node.addChild(u"x"_s, TpkXMLNode::Instruction);
    node.addChild(u"PYT"_s);
    EXPECT_EQ(node.ChildByName(u"pyt", 1), node.child(2));
    EXPECT_EQ(node.ChildByName(u"x", 0, TpkXMLNode::Element, false), nullptr);
    EXPECT_EQ(node.ChildByName(u"x", 0, TpkXMLNode::Instruction, false), node.child(1));
    EXPECT_EQ(node.ChildByName(u"pyt", 2, -1, false), nullptr);
    TpkXMLNode *made = node.ChildByName(u"x", 0, TpkXMLNode::Element);
    EXPECT_EQ(node.indexOfChild(made), 3);
    EXPECT_EQ(made->kind, TpkXMLNode::Element);
    EXPECT_EQ(node.child(4), nullptr);
    EXPECT_EQ(node.child(-1), nullptr);

    node.moveChild(3, 0);
    EXPECT_EQ(node.child(0), made);
    EXPECT_EQ(node.child(1)->name, u"Pyt");
    EXPECT_EQ(node.indexOfChild(nullptr), -1);

    node.SetText(u"a"_s);
    node.attrs().add(u"k"_s, u"v"_s);
    node.clear();
    EXPECT_EQ(node.childCount(), 0);
    EXPECT_EQ(node.attrs().count(), 0);
    EXPECT_TRUE(node.rawText().isEmpty());
}

TEST(TpkXMLTree, VeryDeepTreeIsDestroyedWithoutRecursion)
{
    auto root = std::make_unique<TpkXMLNode>();
    TpkXMLNode *node = root.get();
    for (int i = 0; i < 300000; ++i)
        node = node->addChild(u"a"_s);
    root.reset();

    TpkXMLNode target;
    node = target.addChild(u"b"_s);
    for (int i = 0; i < 300000; ++i)
        node = node->addChild(u"b"_s);
    target = TpkXMLNode(u"c"_s); // the old subtree goes without recursion too
    EXPECT_EQ(target.childCount(), 0);
    EXPECT_EQ(target.name, u"c");
}

// --- Files ---

TEST(TpkXMLFile, SavesThroughOneMissingFolderLevel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TpkXML xml;
    xml.DocumentChild(u"a")->SetText(u"1"_s);
    QString error;
    EXPECT_TRUE(xml.SaveToFile(dir.filePath(u"nowy/plik.xml"_s), &error)) << error.toStdString();
    EXPECT_FALSE(xml.SaveToFile(dir.filePath(u"dwa/poziomy/plik.xml"_s), &error));
    EXPECT_FALSE(error.isEmpty());

    TpkXML back;
    ASSERT_TRUE(back.LoadFromFile(dir.filePath(u"nowy/plik.xml"_s)));
    EXPECT_EQ(back.DocumentChild(u"a")->Text(), u"1");
}

TEST(TpkXMLFile, FailedSaveLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"Test.xml"_s);
    TpkXML small;
    small.DocumentChild(u"a")->SetText(u"stary"_s);
    ASSERT_TRUE(small.SaveToFile(path));
    const QByteArray old = small.SaveToBytes();

    TpkXML big;
    big.DocumentChild(u"a")->SetText(QString(100000, u'x'));

    // A file size limit makes the write fail even for root, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString error;
    const bool savedOk = big.SaveToFile(path, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(savedOk);
    EXPECT_FALSE(error.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Test.xml"_s});
}
