#include "support/DocumentTest.h"

#include "support/PakBytes.h"

using namespace Qt::StringLiterals;

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

QString DocumentTest::path(const QString &name) const
{
    return t.dir.path() + u"/"_s + name;
}

QString DocumentTest::writeArchive(const QString &name, const QList<std::pair<QByteArray, QByteArray>> &members)
{
    const QString p = path(name);
    EXPECT_TRUE(PakBytes::writeFile(p, PakBytes::archive(members)));
    return p;
}
