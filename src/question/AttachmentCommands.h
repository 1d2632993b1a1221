#pragma once

#include "core/Prompts.h"
#include "question/ThumbnailCache.h"
#include "question/ThumbnailStrip.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

class QuestionEditor;
class TestModel;
class Workspace;

// The text and the image attachment dialogs without their widgets: what they show when opened and
// every command. The question edited is the question editor's (question k of the test, or the single
// question). A command answers whether the dialog closes.
//
// In a test a file chosen on disk is copied into the test's working archive at once; a single
// question keeps the file on disk until it is saved. A file that cannot be read, whose name the
// archive cannot hold, or whose copy fails changes nothing and is reported.
class AttachmentCommands {
public:
    enum class Kind { Text, Image };
    enum class Outcome { StayOpen, Close };

    AttachmentCommands(QuestionEditor &editor, Kind kind);

    Kind kind() const { return m_kind; }
    bool inTest() const;

    // --- What the dialog shows; open() fills it.
    void open();
    bool removeEnabled = false; // LUsunTekst / LUsunObraz
    bool lastEnabled = false;   // LOldTekst / LOldObraz
    bool listEnabled = false;   // LListaTekstow / LListaObrazow
    bool listShown = false;     // PListaTekstow / PListaObrazow
    // Text dialog: LFragmentTekstu, with "\r" for line breaks.
    QString textPreview;
    // Image dialog: the last-used picture in ImMiniatura (null when it could not be read, and then
    // pictureNote says why), and whether PPodMiniature is shown.
    QImage picturePreview;
    QString pictureNote;
    bool picturePreviewShown = false;
    // testTextNames / testImageNames: the test's files of the dialog's kind, in archive order.
    QStringList testNames;
    // The text dialog's list: each file's text, normalised and shortened.
    QStringList listLines;
    // The image dialog's thumbnails, and the cache that keeps them between openings.
    ThumbnailStrip strip;
    const ThumbnailCache &thumbnailCache() const { return m_thumbnails; }
    // The box the image dialog's preview shows its picture in; the picture is decoded to fit it.
    QSize previewBox{400, 200};

    // --- Commands.
    // LNewTekst / LNewObraz: a file from disk.
    Outcome newFile();
    // LOldTekst / LOldObraz: the file attached last time.
    Outcome useLast();
    // LListaTekstow / LListaObrazow: shows or hides the list.
    void toggleList();
    void hideList() { listShown = false; }
    // A line of the text list, or picture i of the strip (0-based).
    Outcome pickFromList(int i);
    // A click on the strip at x (strip coordinates).
    Outcome pickThumbnailAt(int x);
    // LUsunTekst / LUsunObraz.
    Outcome remove();

    // The disk chooser of the dialog's kind; starts in `folder`.
    static FileDialogRequest chooserRequest(Kind kind, const QString &folder);
    // Some question of the test refers to `name` (kind text: textName, image: imageName).
    static bool isNameInUse(const TestModel &test, const QString &name, Kind kind);
    // The file kinds by extension, in any case: ".TXT"; ".JPG", ".GIF", ".BMP".
    static bool isOfKind(const QString &name, Kind kind);

private:
    QString &recordName();
    QString &recordSource();
    QString &lastName();
    QString &lastSource();
    void rebuildTestNames();
    void rebuildListLines();
    void buildStrip();
    void preparePreview();
    // The name and source of the first test question referring to `name`: the source of a pick.
    QString firstSourceOf(const QString &name) const;
    Outcome attach(const QString &name, const QString &source);
    Outcome newFileInTest(const QString &name, const QString &path);
    Outcome refuse(const QString &text);
    // What goes into the archive of a file read from disk: a picture perhaps reduced; empty when the
    // teacher cancelled.
    std::optional<QByteArray> storedBytes(const QString &name, const QByteArray &bytes);

    QuestionEditor &m_editor;
    Workspace &m_ws;
    Kind m_kind;
    // The folder the chooser opens in: the program's folder until a file has been chosen.
    QString m_chooserFolder;
    ThumbnailCache m_thumbnails;
    bool m_stripDecoded = false;
};
