#pragma once

#include <QString>
#include <QStringList>

// The HTML of question texts on learning platforms, to and from the plain text of the test model.
// The reader is a tolerant scanner, not a parser: anything it does not know is passed over, and it
// takes time in proportion to the length of the text whatever the markup.
namespace HtmlText {

struct Content {
    QString text; // line breaks "\n" (a <br>, the end of a paragraph), other markup dropped
    bool hasPassage = false;
    QString passage;     // a <pre> block the text starts with, white space kept
    QString passageName; // that block's "title"
    QStringList images;  // the "src" of every <img>, in order
};

Content toText(QStringView html);
// Plain text (any line ends) as HTML: special characters escaped, line breaks as <br>, runs of
// spaces kept with &nbsp;.
QString fromText(QStringView text);
// Plain text as the inside of a <pre> block.
QString escapePre(QStringView text);
QString escape(QStringView text);

} // namespace HtmlText
