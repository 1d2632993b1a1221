#pragma once

#include <QString>
#include <QStringList>

// How every command talks to the user. The program implements it with its own windows (message box,
// file dialogs, clock, clash dialogs); tests implement it with a scripted fake.

enum class MessageKind { CloseOnly, YesNoCancel };
enum class MessageIcon { InfoIcon, QuestionIcon, WarningIcon };
// Values match the answers the message box reports; closing the box without an answer gives No.
enum class MessageResult : int { Close = 0, Yes = 1, No = 2, Cancel = 3 };

struct FileDialogRequest {
    QString title;
    QString filter;           // Qt filter text, e.g. u"Test (*.skt)"_s
    QString defaultExtension; // without the dot, e.g. u"skt"_s
    QString startFolder;      // empty: the dialog's own memory of the last folder
    QString fileName;         // proposed name (save dialogs)
};

// What a name-clash dialog answers: cancel, the same file, or another file under a new name.
struct ClashAnswer {
    enum Result : int { Cancel = 0, SameFile = 1, OtherFile = 2 };
    Result result = Cancel;
    QString newName; // set only for OtherFile
};

class Prompts {
public:
    virtual ~Prompts() = default;

    virtual MessageResult showMessage(MessageKind kind, MessageIcon icon, const QString &text) = 0;
    // Empty result: the user cancelled.
    virtual QString openFileName(const FileDialogRequest &request) = 0;
    virtual QString saveFileName(const FileDialogRequest &request) = 0;
    // Several existing files chosen at once; empty when cancelled. Where nothing can choose more than
    // one, the one file openFileName gives.
    virtual QStringList openFileNames(const FileDialogRequest &request)
    {
        const QString path = openFileName(request);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
    virtual QString browseFolder(const QString &caption, const QString &prompt, const QString &startFolder) = 0;
    // The two-second save confirmation, its top left corner at (x, y) on the screen.
    virtual void showSavedClock(int x, int y) = 0;
    // Texts as read (line breaks kept) of the member already in the test and of the newcomer.
    virtual ClashAnswer resolveTextClash(const QString &name, const QString &inTest, const QString &incoming) = 0;
    virtual ClashAnswer resolveImageClash(const QString &name, const QByteArray &inTest, const QString &inTestName,
                                          const QByteArray &incoming, const QString &incomingName) = 0;
    // A page of the help folder, e.g. u"index.htm"_s.
    virtual void openHelpPage(const QString &page) = 0;
};
