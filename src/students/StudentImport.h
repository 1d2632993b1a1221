#pragma once

#include <QByteArray>
#include <QStringList>

class StudentView;
class Workspace;

// Filling the student view from a plain text file: one student per line, the first name, a blank,
// the surname, in Windows-1250, lines ended by CR LF, CR or LF.

// The lines of the file's bytes, empty lines (no characters at all) dropped.
QStringList importFileLines(const QByteArray &bytes);

// Each line added to the view in its display order; a line that does not split into two non-empty
// parts is a word clump, reported and skipped. False when no line remained (reported, the view
// unchanged).
bool importLinesIntoView(Workspace &ws, const QStringList &lines, StudentView &view);

// Asks for the file and imports it into the view; false when nothing was imported (cancelled, an
// unreadable or empty file).
bool importStudents(Workspace &ws, StudentView &view);
