#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// Small .docx and .odt packages built in code: the XML a word processor writes, zipped with libzip.
namespace WordFixtures {

struct Member {
    QString name;
    QByteArray bytes;
    bool stored = false; // no compression (an .odt's "mimetype")
};
QByteArray zip(const QList<Member> &members);

using Media = QList<std::pair<QString, QByteArray>>; // name under word/media or Pictures/, bytes

// Word: `body` is what goes inside <w:body>; `numbering` inside <w:numbering>; pictures are
// referenced as r:embed="rIdN" with N from 1 in the order of `media`.
QByteArray docx(const QString &body, const QString &numbering = {}, const Media &media = {},
                const QString &styles = {});
// One paragraph; "\t" and "\n" in `text` become a tab and a line break. `rPr` and `pPr` are the
// properties' inner XML.
QString wp(const QString &runs, const QString &pPr = {});
QString wr(const QString &text, const QString &rPr = {});
QString wpText(const QString &text, const QString &rPr = {});
// A paragraph of Word's automatic list `numId` at `level`.
QString wpListed(const QString &text, int numId, int level, const QString &rPr = {});
QString wpPicture(int relationship);
// numbering.xml content: list 1 numbers questions with digits on level 0 and letters on level 1.
QString questionNumbering();

// Writer: `body` is what goes inside <office:text>, `styles` inside <office:automatic-styles>.
QByteArray odt(const QString &body, const QString &styles = {}, const Media &media = {});
QString tp(const QString &content, const QString &style = {});
// Text with "\t" and "\n" as text:tab and text:line-break.
QString tText(const QString &text);
QString tSpan(const QString &text, const QString &style);
QString tPicture(const QString &name);
// Automatic styles: "B" bold, "U" underlined, "H" highlighted, "R" red, and the list style "L"
// (numbers, then lower-case letters a level down).
QString odtStyles();

QString escaped(const QString &text);

} // namespace WordFixtures
