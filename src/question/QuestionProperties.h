#pragma once

#include "core/TestModel.h"

#include <QImage>
#include <QString>
#include <array>

class QuestionEditor;
class Workspace;

// What the question properties view shows, for its three sources: the question editor's window on a
// test question, a test question as stored, and the single question being edited.
struct QuestionProperties {
    QString text;                             // LTrescPytania
    std::array<QString, kMaxAnswers> answers; // LOdpNr1 .. LOdpNr5
    QString correctLine;                      // LNrPoprawnejOdp
    QString comment;                          // LKomentarz
    QString fragment;                         // LFragmentTekstu ("\r" for line breaks)
    bool pictureShown = false;                // PPodMiniature
    QImage picture;                           // ImMiniatura; null when it could not be read
    QString pictureNote;                      // why there is no picture

    // The question editor on question k of the test, its fields as typed.
    static QuestionProperties fromEditorInTest(QuestionEditor &editor);
    // Question k of the test as stored.
    static QuestionProperties fromTestQuestion(Workspace &ws, int k);
    // The single question with the editor's fields standing in for what it does not hold yet.
    static QuestionProperties fromSingle(QuestionEditor &editor);
};
