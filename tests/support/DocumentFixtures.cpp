#include "support/DocumentFixtures.h"

#include "storage/Cp1250.h"
#include "documents/TestDocument.h"
#include "support/TempWorkspace.h"
#include "storage/FieldCoding.h"
#include "storage/SubstitutionTables.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"

#include <QDir>
#include <QRandomGenerator>
#include <array>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace DocumentFixtures {

namespace {

const std::array<int, 256> &oldEncodingTable()
{
    static const std::array<int, 256> table = [] {
        std::array<int, 256> t{};
        t.fill(-1);
        for (int x = 255; x >= 0; --x)
            t[SubstitutionTables::decodeOld(static_cast<unsigned char>(x))] = x;
        return t;
    }();
    return table;
}

} // namespace

QByteArray encodeOld(const QString &value)
{
    const QByteArray bytes = Cp1250::fromUnicode(value);
    if (bytes.isEmpty())
        return QByteArray("\xFE"
                          "abc");
    QByteArray out("\xA0"
                   "xy");
    for (char c : bytes) {
        const int coded = oldEncodingTable()[static_cast<unsigned char>(c)];
        EXPECT_GE(coded, 0) << "the old table cannot produce byte " << int(static_cast<unsigned char>(c));
        out.append(static_cast<char>(coded));
    }
    return out;
}

QByteArray codedLines(const QStringList &values, QRandomGenerator &rng, bool old)
{
    QByteArray out;
    for (const QString &v : values) {
        out += old ? encodeOld(v) : EncodeSetting(Cp1250::fromUnicode(v), rng);
        out += "\r\n";
    }
    return out;
}

QStringList childNames(const TpkXMLNode *node)
{
    QStringList names;
    for (int i = 0; node && i < node->childCount(); ++i)
        names << node->child(i)->name;
    return names;
}

bool loadMember(const QString &path, const QString &member, TpkXML &doc)
{
    TVfsPAK pak;
    if (!pak.Open(path, TVfsPAK::Mode::ReadOnly))
        return false;
    const std::optional<QByteArray> data = pak.Extract(member);
    return data && doc.LoadFromBytes(*data);
}

QStringList memberNames(const QString &path)
{
    TVfsPAK pak;
    return pak.Open(path, TVfsPAK::Mode::ReadOnly) ? pak.Names() : QStringList();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_handler);
}

bool writeSampleTest(const QString &path, int count)
{
    TempWorkspace t;
    t.ws.createWorkingArchives();
    TestModel &m = t.ws.test;
    m.resetTest();
    m.header.testName = u"Ułamki"_s;
    m.header.author = u"Ja"_s;
    m.header.questionCount = count;
    for (int k = 1; k <= count; ++k) {
        Question &q = m.question(k);
        q.text = u"Q"_s + QString::number(k);
        q.answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
        q.correct = u"10000"_s;
    }
    const bool written = WriteTestDocument(t.ws, path);
    t.ws.shutDown();
    return written;
}

} // namespace DocumentFixtures
