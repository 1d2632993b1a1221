#include "support/TempWorkspace.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(EventLog, FilterAdmitsLevelsUpToIt)
{
    const std::pair<int, QStringList> cases[] = {
        {0, {u"zero"_s}},
        {2, {u"zero"_s}},
        {3, {u"zero"_s, u"trzy"_s}},
        {5, {u"zero"_s, u"trzy"_s, u"cztery"_s}},
    };
    for (const auto &[filter, expected] : cases) {
        TempWorkspace t;
        QFile::remove(t.ws.paths.logPath);
        t.ws.log.setFilterLevel(filter);
        t.ws.logEvent(0, u"zero"_s);
        t.ws.logEvent(3, u"trzy"_s);
        t.ws.logEvent(4, u"cztery"_s);
        EXPECT_EQ(t.logTexts(), expected) << "filter " << filter;
    }
}

TEST(EventLog, LineFormatAndEncoding)
{
    TempWorkspace t;
    t.ws.log.setShortDateForm(true);
    t.ws.logEvent(0, u"Błąd źródła."_s);
    const QByteArray bytes = t.readFile(t.ws.paths.logPath);
    EXPECT_TRUE(bytes.endsWith(" - B\xB3\xB9" "d \x9F" "r\xF3" "d\xB3" "a.\r\n")) << bytes.constData();
    const QString line = QString::fromLatin1(bytes);
    EXPECT_TRUE(QRegularExpression(u"^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}:\\d{2}.* - "_s).match(line).hasMatch())
        << line.toStdString();
}

TEST(EventLog, AppendsAfterALastLineWithoutEndAndNormalisesLineEnds)
{
    TempWorkspace t;
    {
        QFile f(t.ws.paths.logPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a\nb\rc");
    }
    t.ws.log.setFilterLevel(0);
    t.ws.logEvent(0, u"nowy"_s);
    const QByteArray bytes = t.readFile(t.ws.paths.logPath);
    EXPECT_TRUE(bytes.startsWith("a\r\nb\r\nc\r\n")) << bytes.constData();
    EXPECT_EQ(bytes.count("\r\n"), 4);
    EXPECT_EQ(bytes.count('\n'), 4);
}

TEST(EventLog, ClearLeavesZeroBytesAndReadFailsOnMissingFile)
{
    TempWorkspace t;
    t.ws.log.setFilterLevel(0);
    t.ws.logEvent(0, u"x"_s);
    ASSERT_TRUE(t.ws.log.clear());
    EXPECT_EQ(QFile(t.ws.paths.logPath).size(), 0);
    EXPECT_EQ(t.ws.log.readAll(), u""_s);
    t.ws.logEvent(0, u"y"_s);
    EXPECT_EQ(t.logTexts(), QStringList{u"y"_s});
    QFile::remove(t.ws.paths.logPath);
    EXPECT_FALSE(t.ws.log.readAll().has_value());
}

TEST(EventLog, UnwritableFolderIsSwallowed)
{
    TempWorkspace t;
    t.ws.log.setPath(t.dir.path() + u"/brak/folderu/Dziennik.txt"_s);
    t.ws.log.setFilterLevel(5);
    t.ws.logEvent(0, u"zgubiony"_s); // must neither crash nor create the folder
    EXPECT_FALSE(QFile::exists(t.dir.path() + u"/brak"_s));
}

TEST(EventLog, SetLogLevelStoresAndLogsFromLevelThree)
{
    TempWorkspace t;
    LoadEditorSettings(t.ws);
    QFile::remove(t.ws.paths.logPath);
    t.ws.setLogLevel(2);
    EXPECT_FALSE(QFile::exists(t.ws.paths.logPath));
    t.ws.setLogLevel(3);
    EXPECT_EQ(t.logTexts(), QStringList{u"Zmieniono poziom zdarzen. Aktualny poziom, to: 3"_s});
    Workspace fresh;
    fresh.paths = t.ws.paths;
    fresh.log.setPath(t.ws.paths.logPath);
    LoadEditorSettings(fresh);
    EXPECT_EQ(fresh.settings.dfpz, 3);
    EXPECT_EQ(fresh.log.filterLevel(), 3);
}
