#pragma once

#include "core/Prompts.h"

#include <QFileDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class SkinnedWindow;
class TFWarning;
class TFZegar;
class TFZbieznoscObrazy;
class TFZbieznoscTeksty;

// Prompts answered by the program's own windows: the message box, the clock, the clash dialogs, the
// platform's file dialogs and the help pages. The windows are made once and reused.
class WindowPrompts : public Prompts {
public:
    WindowPrompts();
    ~WindowPrompts() override;
    WindowPrompts(const WindowPrompts &) = delete;
    WindowPrompts &operator=(const WindowPrompts &) = delete;

    // The clash dialogs stand at this window's left + 190, top + 80 (the test editor's); centred on
    // the screen while there is none.
    void setClashAnchor(QWidget *window) { m_clashAnchor = window; }
    // Judges the name typed for the other file (text or image dialog, the clashing name); the dialog
    // refuses a name it gives a reason for and stays open.
    using ClashNameRule = std::function<QString(bool text, const QString &typed, const QString &name)>;
    void setClashNameRule(ClashNameRule rule) { m_clashNameRule = std::move(rule); }
    // The program's folder (the workspace's): help pages and the file dialogs' first folder.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // How long the save clock stays; tests shorten it.
    void setClockDuration(int milliseconds);
    // The folder the file dialogs open in when the request names none: the program's folder at first,
    // then the folder of the last file or folder chosen.
    QString lastFolder() const;

    TFWarning &warning() { return *m_warning; }
    TFZegar &clock() { return *m_clock; }
    TFZbieznoscTeksty &textClash() { return *m_textClash; }
    TFZbieznoscObrazy &imageClash() { return *m_imageClash; }

    MessageResult showMessage(MessageKind kind, MessageIcon icon, const QString &text) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    QStringList openFileNames(const FileDialogRequest &request) override;
    QString browseFolder(const QString &caption, const QString &prompt, const QString &startFolder) override;
    void showSavedClock(int x, int y) override;
    ClashAnswer resolveTextClash(const QString &name, const QString &inTest, const QString &incoming) override;
    ClashAnswer resolveImageClash(const QString &name, const QByteArray &inTest, const QString &inTestName,
                                  const QByteArray &incoming, const QString &incomingName) override;
    void openHelpPage(const QString &page) override;

private:
    QStringList runFileDialog(const FileDialogRequest &request, QFileDialog::FileMode mode);
    QString startFolder(const QString &requested) const;
    void placeClashDialog(SkinnedWindow &dialog) const;
    // The rule for one dialog and clashing name, as the dialog asks it.
    std::function<QString(const QString &typed)> clashNameCheck(bool text, const QString &name) const;

    std::unique_ptr<TFWarning> m_warning;
    std::unique_ptr<TFZegar> m_clock;
    std::unique_ptr<TFZbieznoscTeksty> m_textClash;
    std::unique_ptr<TFZbieznoscObrazy> m_imageClash;
    QPointer<QWidget> m_clashAnchor;
    ClashNameRule m_clashNameRule;
    QString m_lastFolder;
    QString m_programFolder;
};
