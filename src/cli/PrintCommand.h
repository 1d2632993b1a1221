#pragma once

#include <QString>

class CommandLineTool;

struct PrintOptions;

// "zadanix print": a test to PDF (or, for OUT.odt, an editable document), in shuffled versions,
// with its answer key.
void addPrintCommand(CommandLineTool &tool);
// The print of `test` to `out`, a PDF or, when its name ends in ".odt", an OpenDocument text; for
// "zadanix export --format odt" too.
// With `sheets`, answer sheets after the booklets (PDF only).
struct SheetRequest {
    bool sheets = false;
    QString students; // a student list, with `className`: one named sheet a pupil
    QString className;
    QString layout; // where to write the boxes' places, if anywhere
};
int printTestTo(CommandLineTool &tool, const QString &test, const QString &out, const PrintOptions &options,
                const SheetRequest &request = {});

// Whether these arguments (the program first) run a command that draws text and so needs the
// windowing part of Qt, offscreen.
bool needsGuiApplication(int argc, char **argv);
