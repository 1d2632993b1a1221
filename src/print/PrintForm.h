#pragma once

#include "core/StudentList.h"
#include "print/TestPrinter.h"

#include <QList>
#include <QString>
#include <QStringList>

class Workspace;

// The print dialog without its widgets: the options on screen and the print command. It prints the
// test the workspace holds (ws.test with its attachments in ws.workingTest), asks for the file name
// and reports through the workspace's Prompts. The test editor only opens the dialog.
class PrintForm {
public:
    explicit PrintForm(Workspace &ws) : m_ws(ws) {}

    // Back to one version without a key and a drawn seed; the last file name is kept as the proposal.
    void fill();

    int versions = 1;
    bool key = false;     // the key after the test
    bool keyOnly = false; // only the key; wins over `key`
    QString seedText;     // empty: drawn
    bool editable = false; // an OpenDocument text a word processor edits instead of the PDF
    QString outputPath;   // the file printed to last; proposed next time
    // Answer sheets after the booklets (PDF only): for every pupil of the chosen class a booklet and
    // a named sheet; without a class each version's booklet and a blank sheet.
    bool sheets = false;
    QString studentList;        // the student list the classes were read from
    QList<SchoolClass> classes; // its classes
    int classIndex = -1;        // the class chosen; -1: blank sheets

    void stepVersions(int direction); // +1 / -1 within 1..26
    void setKey(bool on);
    void setKeyOnly(bool on);
    // Answer sheets and the editable document exclude each other: the sheets are read from a PDF.
    void setSheets(bool on);
    void setEditable(bool on);
    // "Klasa ...": asks for a student list and offers its classes, the first chosen. A list that
    // cannot be read, or has no class, is said and the classes stay as they were.
    void chooseStudentList();
    // The names to offer: "bez nazwisk" first, then every class with its number of pupils.
    QStringList classChoices() const;
    void chooseClass(int index); // -1: blank sheets
    // The seed field holds nothing or a number the shuffling takes.
    bool seedValid() const;
    PrintOptions options() const;

    enum class Outcome { StayOpen, Close };
    // "Drukuj": asks for the PDF's (or the document's) file name, then prints to it. Cancelling the
    // file dialog stays.
    Outcome run(int clockX, int clockY);
    // Prints to outputPath. Success: logged, a warning message for attachments printed as notes, the
    // clock at (clockX, clockY), Close. Failure: logged, a message with the reason, StayOpen.
    Outcome print(int clockX, int clockY);

    // What the last print did.
    const PrintResult &lastResult() const { return m_last; }
    // A proposal for the file name: the last one, or the test's name made safe for a file name; with
    // the extension of the kind chosen.
    QString proposedFileName() const;

private:
    Workspace &m_ws;
    PrintResult m_last;
};
