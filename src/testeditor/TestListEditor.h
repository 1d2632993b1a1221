#pragma once

#include "testeditor/EntryTree.h"

#include <QPoint>
#include <QString>

class Workspace;

// The test list editor without its widgets: one window serves a test list (.skg, WorkMode 3), whose
// entries point at test files, and a list of question sets (.skz, WorkMode 10), whose entries point
// at folders of single-question files. It holds the list's header, the entry tree and the entry
// window's two fields; the windows TFListaTestow and TFEdycjaWpisu forward every command here.
class TestListEditor {
public:
    enum class Kind { TestList, SetList };
    enum class Outcome { StayOpen, Close };
    // The longest link an entry keeps.
    static constexpr int kMaxLinkLength = 300;
    static constexpr int kMaxNameLength = 30;

    explicit TestListEditor(Workspace &ws);

    Workspace &workspace() const { return m_ws; }

    Kind listKind = Kind::TestList;
    QString listFile;   // empty for a new list
    QString listFolder; // folder of listFile with its trailing "/": links are relative to it
    bool listSaved = false;
    bool modified = false;
    QString listAuthor;
    QString listDate;
    QString listRemarks;
    EntryTree tree;
    // The list window's top left corner on the screen: the clock stands relative to it.
    QPoint position;

    // The entry window's fields while it is open: EWpis and the text of LSciezka.
    struct EntryFields {
        QString name;
        QString shownLink;
    };
    EntryFields entry;

    // --- Entry points. Each prepares the editor; the window then shows it.
    void newList(Kind kind, int viewportHeight);
    // Asks for the file; false when cancelled or not read (the window then does not open).
    bool openList(Kind kind, int viewportHeight);
    bool openListFile(Kind kind, const QString &path, int viewportHeight);

    // --- Commands of the list window.
    void addBelow();
    void addAbove();
    void addAtEnd();
    // LDodajGalez: a child of the selected entry; on an empty tree the first entry.
    void addBranch();
    // Asks first when "al" is on.
    bool deleteEntry();
    void moveUp();
    void moveDown();
    void setAuthor(const QString &text);
    void setRemarks(const QString &text);

    bool hasEntries() const { return !tree.entries().isEmpty(); }
    bool moveUpEnabled() const;
    bool moveDownEnabled() const;

    // Save button and Ctrl+S: true when the list is written (or there was nothing to write).
    bool save();
    // Recovery of unsaved work: the list written to `copy` silently, changing nothing here; and a
    // copy opened modified, saving to `original` (empty: never saved).
    bool writeRecoveryCopy(const QString &copy) const;
    bool openRecoveryCopy(Kind kind, const QString &copy, const QString &original, int viewportHeight);
    // LZapiszJako: always asks for a name.
    bool saveAs();
    // Cancel button and Esc.
    Outcome close();
    // The window has closed, for whatever reason: changes not saved by then are dropped, so that no
    // unsaved work is reported afterwards.
    void windowClosed() { modified = false; }

    // --- The entry window.
    // LEdytujWpis, F2, a double-click on a leaf: fills `entry`; false (with the message) before the
    // list's first save or without a selection.
    bool beginEditEntry();
    // LOpenPlik, F10: asks for a test file or a question-set folder and shows it relative to the
    // list's folder. A cancelled choice shows the "no file" text again; a choice outside the list's
    // folder is refused and leaves the field as it was.
    void pickLink();
    // LWprowadz, Enter: with a name, the entry takes the fields; an empty name changes nothing.
    void acceptEntry();
    // "Brak pliku testu" or "Brak folderu z pytaniami".
    QString noLinkText() const;

    // The link of `chosen` relative to `folder` (which ends in "/"); empty when it does not lie inside.
    static QString relativeLink(const QString &folder, const QString &chosen);

private:
    void changedByUser();
    void resetHeader();
    bool writeList(const QString &path);
    QString askListName();

    Workspace &m_ws;
};
