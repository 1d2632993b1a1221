#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A multiple-choice question as the interchange formats carry it, between the program's test model
// and a Moodle XML, GIFT or Aiken file. Texts use "\r\n" for line breaks, as the model does.
struct InterchangeQuestion {
    int line = 0;   // where it starts in the file it was read from (0: not known)
    bool lineIsParagraph = false; // `line` counts a document's paragraphs, not lines
    int number = 0; // its place among the file's questions, or in the test it came from
    QString title;  // the name a platform lists it under
    QString text;
    QStringList answers;
    QList<bool> correct; // one per answer
    bool multipleChoice = false;
    QString comment;     // general feedback
    QString passage;     // the reading passage shown before the question
    QString passageName; // member name of the passage (".txt")
    QByteArray picture;  // JPEG, GIF or BMP bytes as stored in the document
    QString pictureName; // member name of the picture

    int correctCount() const;
};

// Something a reader or writer has to tell the user: a question it skipped and why, or a part of a
// question it could not carry. Kept apart from its wording, which the command-line tool gives in
// English and the editor in Polish.
struct InterchangeNote {
    enum class Issue {
        // The question was skipped:
        OtherType,   // detail: the type's name
        Description, // text without answers
        AnswerCount, // detail: the number of answers
        NoCorrectAnswer,
        SeveralCorrectInSingle,
        EmptyAnswer, // detail: the answer's number
        NoText,
        PictureNotCarried, // a GIFT text that shows a picture
        UnbalancedBraces,
        SeveralAnswerBlocks,
        NoAnswerLine,    // Aiken without "ANSWER:"
        BadAnswerLetter, // detail: the letter
        NotSingleChoice, // writing Aiken
        MatchingTable,   // a word-processor question answered in a table
        DifferentShape,  // from the test's answer count or choice type
        TestFull,        // beyond 45 questions
        // The question came or went without a part:
        PictureUnreadable, // detail: the picture's name
        PictureLeftOut,    // detail: the picture's name
        PassageLeftOut,    // detail: the passage's name
        CommentLeftOut,
        AnswerFeedbackLeftOut,
        WeightsSimplified,
        LineBreaksJoined,
        PassageCharacters, // characters Windows-1250 cannot hold became '?'
        HeaderLeftOut,     // the test's author, time, grading scale or remarks
        Damaged,           // detail: why; nothing after this place was read
        TooManyQuestions,  // nothing after this place was read
        ExtraPictures,     // detail: how many; the first was kept
    };

    int line = 0;
    int number = 0;
    Issue issue = Issue::OtherType;
    QString detail;
    bool paragraph = false; // `line` is a paragraph of a document

    bool skipsQuestion() const { return issue <= Issue::TestFull; }
    QString englishText() const;
    QString polishText() const;
};

// What a reader found in a file.
struct InterchangeContent {
    QString category; // the last part of the category the first question was filed under
    QList<InterchangeQuestion> questions;
    QList<InterchangeNote> notes;
    QString error;      // the whole file could not be read (empty when it could)
    qsizetype seen = 0; // questions met so far, read or skipped
};

namespace Interchange {

// Larger files are refused before they are read.
constexpr qint64 MaxFileBytes = qint64(64) << 20;
// A reader stops after this many questions, read or skipped, with a note; a file of tiny questions
// could otherwise fill the memory many times over.
constexpr qsizetype MaxQuestionsInFile = 20000;

// Why the question cannot be a question of a test, or nothing when it can.
std::optional<InterchangeNote::Issue> problemOf(const InterchangeQuestion &q, QString *detail);
// True, with the error set, for a file larger than MaxFileBytes.
bool refuseLarge(QByteArrayView bytes, InterchangeContent &content);
// Counts the question the reader has come to; true, with a note at its place, when it is one more
// than a file may hold, and the reader stops.
bool isFull(InterchangeContent &content, const InterchangeQuestion &q);
// Checks the question and either appends it to `content` or notes why it is skipped.
void accept(InterchangeContent &content, InterchangeQuestion q);
// In the order of the places they name in the file.
void sortByPlace(QList<InterchangeNote> &notes);
void note(QList<InterchangeNote> &notes, const InterchangeQuestion &q, InterchangeNote::Issue issue,
          const QString &detail = {});

// A text file's bytes as text: a byte-order mark decides, otherwise UTF-8 when the bytes are valid
// UTF-8, otherwise Windows-1250 (what Notepad writes on a Polish system). Line ends become "\n".
QString decodeTextFile(QByteArrayView bytes);
// Every kind of line end as "\r\n", and the other way round.
QString toModelLineBreaks(QStringView text);
QString toPlainLineBreaks(QStringView text);

// A picture found in a file, made fit for a test: JPEG, GIF and BMP kept as they are when they
// decode, PNG converted to JPEG. Told apart by content; `name` gets the extension of what is kept.
// False when the bytes are no picture that can be read.
bool takePicture(const QByteArray &bytes, QString &name, QByteArray &kept);

// Category paths as platforms write them: parts separated by "/", a "/" inside a name written "//".
// The path for a test's name, and the name of the last part of a path ("top" and "$course$" are no
// names).
QString categoryPath(const QString &name);
QString categoryName(QStringView path);

// The weight of a correct answer when `correctCount` answers are correct: 100 divided among them,
// written as Moodle expects it ("100", "50", "33.33333", "25", "20").
QString shareText(int correctCount);
// True when the weights are what shareText gives the correct answers and 0 or less the wrong ones.
bool weightsAreShares(const QList<double> &weights);

} // namespace Interchange
