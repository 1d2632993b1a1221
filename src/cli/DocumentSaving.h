#pragma once

#include "DocumentSnapshot.h"

#include <QString>

class ToolWorkspace;

// Writes a document of the snapshot's kind at `path` with the program's own writers (a version-40
// document, whatever version the snapshot came from). Attachments are read from their "path",
// relative ones from `memberFolder`; a member without a path, or with a name an archive cannot store,
// is left out. The writers stamp a
// question with the date of writing. False with `problem` set when a member file is missing or the
// writer fails; the file at `path` is then as it was.
bool saveDocument(ToolWorkspace &tool, const DocumentSnapshot &document, const QString &path,
                  const QString &memberFolder, QString *problem);
