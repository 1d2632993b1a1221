#pragma once

class CommandLineTool;

struct PrintOptions;
class QString;

// "zadanix print": a test to PDF (or, for OUT.odt, an editable document), in shuffled versions,
// with its answer key.
void addPrintCommand(CommandLineTool &tool);
// The print of `test` to `out`, a PDF or, when its name ends in ".odt", an OpenDocument text; for
// "zadanix export --format odt" too.
int printTestTo(CommandLineTool &tool, const QString &test, const QString &out, const PrintOptions &options);

// Whether these arguments (the program first) run a command that draws text and so needs the
// windowing part of Qt, offscreen.
bool needsGuiApplication(int argc, char **argv);
