#pragma once

#include <QString>

class Workspace;

// Test documents (.skt): a PACK archive with the test as XML in "Serr0.xml" (version 40; version 35
// kept it as coded text lines in "Serr0.txp", read only) and the attached files the questions name.

// Reads the file into ws.test and its members into ws.workingTest. Failures are logged and shown
// once; the model then holds what was read before the failure.
bool ReadTestDocument(Workspace &ws, const QString &path);
// Writes ws.test as a version-40 document with the attachments its questions name, taken from
// ws.workingTest. A failure is logged and shown and leaves the file at `path` as it was.
bool WriteTestDocument(Workspace &ws, const QString &path);
