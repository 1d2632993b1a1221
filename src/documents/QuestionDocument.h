#pragma once

#include <QString>

class TVfsPAK;
class Workspace;

// Single-question documents (.skq): a PACK archive with the question as XML in "Sezz0.xml" (version
// 40; version 35 kept coded text lines in "Sezz0.txp", read only) and at most a text and an image
// attachment.

// Reads the file into ws.question and its members into ws.workingQuestion and ws.workingQuestionAs.
// The caller has reset the question and stored the path. A damaged question member is logged and
// shown, and so is one whose answer count is outside 3 to 5 or whose choice type is not 0 or 1 (no
// window can show it); a file that cannot be opened or has no question member is only logged. `messageShown`, when
// given, tells whether the user has been told.
bool ReadQuestionDocument(Workspace &ws, const QString &path, bool *messageShown = nullptr);
// Writes ws.question as a version-40 document. An attachment comes from its disk path
// (textSource, imageSource) when that is set, otherwise from `source`; one that cannot be had fails
// the write with a message naming it. A failure is logged and shown and leaves the file at `path` as
// it was.
bool WriteQuestionDocument(Workspace &ws, const QString &path, TVfsPAK &source);
// Question k (1..45) of ws.test into ws.question, for writing it as a document of its own;
// storedName is kept. False (logged) for a k outside the table.
bool CopyTestQuestion(Workspace &ws, int k);
