#pragma once

#include <QString>

class Workspace;

// The set generation window without its widgets: which test, which folder, which prefix, and the run
// that cuts the test into one question document per question.
class SetGeneration {
public:
    struct Result {
        bool testRead = false;  // false: the reader reported why, nothing was written
        int written = 0;        // question files written, from question 1 on
        int failedQuestion = 0; // the question the run stopped at, or 0
    };

    QString sourceTest;
    QString targetFolder;
    QString prefix;

    // What each showing starts from.
    void clear();

    // The prefix field keeps the letters A-Z and a-z, the digits and "_"; anything else typed is
    // dropped.
    static bool isPrefixCharacter(QChar c);
    static QString filterPrefix(const QString &typed);
    // Non-empty and made of prefix characters only.
    static bool isValidPrefix(const QString &prefix);
    // The prefix field's text after an edit (typed, erased or pasted): its prefix characters become
    // the prefix, which is returned for the field to show.
    const QString &editPrefix(const QString &edited);

    // The generate button is shown exactly when the test, the folder and the prefix are all given.
    bool canGenerate() const;

    // Folder, prefix, n and ".skq"; a folder that already ends in a separator gets no second one.
    static QString questionFilePath(const QString &folder, const QString &prefix, int n);

    // Reads the test and writes questions 1 to questionCount into the folder, replacing files of the
    // same names. Stops at the first question that cannot be written, with the message naming it.
    // Does nothing while canGenerate() is false or the prefix holds a character the field refuses.
    Result generate(Workspace &ws) const;
};
