#pragma once

class CommandLineTool;

// "zadanix print": a test to PDF, in shuffled versions, with its answer key.
void addPrintCommand(CommandLineTool &tool);

// Whether these arguments (the program first) run a command that draws text and so needs the
// windowing part of Qt, offscreen.
bool needsGuiApplication(int argc, char **argv);
