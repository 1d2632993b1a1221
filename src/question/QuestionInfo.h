#pragma once

#include "core/TestModel.h"

#include <QString>
#include <array>

class TestEditorLink;
class Workspace;

// The question information window without its widgets: the report on a question file just read into
// the single question, whether it fits the open test, and appending it to the test with its
// attachments ("Nowe z zestawu ..." of the test editor).
class QuestionInfo {
public:
    // The window's labels, in the order it shows them.
    struct Report {
        QString fileLine;  // LNazwaPlikuPytania
        QString typeLine;  // LTypTestu
        QString countLine; // LIloscOdpowiedzi
        QString text;      // LTrescPytania
        // LOdpNr1 .. LOdpNr4, and LOdpNr5: the fifth answer has a line of its own, empty unless the
        // question has five answers.
        std::array<QString, kMaxAnswers> answers;
        QString correctLine; // LNrPoprawnejOdp
        QString textLine;    // LNazwaTekstu
        QString imageLine;   // LNazwaObrazu
        QString commentLine; // LKomentarz
        QString verdict;     // LPodsumowaniePytanieSolo
        bool fits = false;   // ImWprowadz shown
    };

    enum class Outcome { Added, NotAdded };

    QuestionInfo(Workspace &ws, TestEditorLink *testEditor);

    // From the single question and the test's header.
    Report fillInfoReport() const;
    // ImWprowadz: appends the single question to the test as question questionCount + 1 with its text
    // and picture (both name clashes settled first); the window then closes either way.
    Outcome addQuestionFromFile();

    // "Poprawne odpowiedzi: " and "  Nr i" for each of the first `positions` places of the mask
    // holding "1".
    static QString correctLine(const QString &mask, int positions);

private:
    struct Clash {
        bool checked = false; // a clash dialog was shown
        int result = 0;       // ClashAnswer::Result
        QString newName;      // the final member name for another file
    };
    bool settleClash(bool text, Clash &clash);
    // Copies the single question's attachment into the test as step 4/5 describe; returns the name
    // the new question refers to (empty when it could not be brought over).
    QString bringAttachment(bool text, const Clash &clash);

    Workspace &m_ws;
    TestEditorLink *m_test;
};
