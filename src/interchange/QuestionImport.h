#pragma once

#include <QString>

class Workspace;

// The test editor's "Importuj pytania ..." without its window: asks for a file, tells Moodle XML,
// GIFT, Aiken, Word's .docx and Writer's .odt apart by content, appends the file's questions to the test in
// memory (their pictures and passages to workingTest) up to 45, and shows one message with what was appended
// and what was skipped and why. The editor marks the test changed and shows it again when something was
// appended.
class QuestionImport {
public:
    struct Result {
        bool chosen = false; // a file was chosen
        int appended = 0;
    };

    static Result run(Workspace &ws);
    // The same for a file already chosen (a dropped file, a test).
    static Result importFile(Workspace &ws, const QString &path);

    // Lines of the skip list shown in the message; the rest are counted.
    static constexpr int MaxListedNotes = 15;
};
