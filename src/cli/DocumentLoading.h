#pragma once

#include "DocumentSnapshot.h"

#include <QString>

class ToolWorkspace;

// A document read with the program's own readers, by its extension (settings files by their header).
struct LoadedDocument {
    bool read = false; // the reader accepted the file
    DocumentSnapshot document;
    // One line: why the file could not be read, or, for a file that was read, what went wrong on the
    // way (the reader's log entries, a damaged XML member the reader passes over). Empty when the file
    // read cleanly.
    QString problem;

    bool isClean() const { return read && problem.isEmpty(); }
};

LoadedDocument loadDocument(ToolWorkspace &tool, const QString &path);
