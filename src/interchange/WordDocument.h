#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What a .docx or .odt reader finds in a document, in one shape for both: the paragraphs in order,
// each with its runs of formatted text, its place in an automatic list, whether it is a heading, the
// pictures anchored in it; a table as one block of cell texts.

struct WordFormat {
    bool bold = false;
    bool underline = false;
    bool highlight = false; // highlighted or shaded
    QString colour;         // "RRGGBB" in upper case; empty for the automatic colour

    bool operator==(const WordFormat &) const = default;
};

struct WordRun {
    QString text; // "\n" for a line break inside the paragraph, "\t" for a tab
    WordFormat format;
};

enum class WordListKind { None, Number, Letter, Bullet };

struct WordBlock {
    int paragraph = 0; // place among the document's paragraphs, from 1
    QList<WordRun> runs;
    int listLevel = -1; // level in an automatic list, from 0; -1 outside lists
    WordListKind listKind = WordListKind::None;
    bool heading = false;
    bool title = false;
    QStringList pictures;     // package members of the pictures anchored here, in order
    QList<QStringList> table; // rows of cell texts when the block is a table

    QString text() const;
    bool isTable() const { return !table.isEmpty(); }
};

struct WordDocument {
    QList<WordBlock> blocks;
    QHash<QString, QByteArray> pictures; // by package member name
    QString title;                       // from the document's properties
};

namespace WordText {

// Bounds of the readers: real documents nest some twenty elements deep and hold a few thousand
// paragraphs.
constexpr int MaxDepth = 256;
constexpr qsizetype MaxBlocks = 200000;
constexpr qsizetype MaxPictures = 2000;
// Text a document may expand to (Writer's text:s repeats a space up to this many times a tag).
constexpr qsizetype MaxCharacters = qsizetype(8) << 20;
constexpr int MaxRepeatedSpaces = 1000;

// Characters a word processor puts in that a teacher did not type as such: non-breaking and other
// fixed spaces become plain spaces, soft hyphens and zero-width characters go.
QString plain(QStringView text);

} // namespace WordText
