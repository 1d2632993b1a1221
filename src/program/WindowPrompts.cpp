#include "program/WindowPrompts.h"

#include "program/TFWarning.h"
#include "question/TFZbieznoscObrazy.h"
#include "question/TFZbieznoscTeksty.h"
#include "question/TFZegar.h"
#include "toolkit/HelpPages.h"
#include "toolkit/KeyboardReturn.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::StringLiterals;

WindowPrompts::WindowPrompts()
    : m_warning(std::make_unique<TFWarning>()), m_clock(std::make_unique<TFZegar>()),
      m_textClash(std::make_unique<TFZbieznoscTeksty>(*this)),
      m_imageClash(std::make_unique<TFZbieznoscObrazy>(*this))
{
}

WindowPrompts::~WindowPrompts() = default;

void WindowPrompts::setClockDuration(int milliseconds)
{
    m_clock->setDuration(milliseconds);
}

QString WindowPrompts::lastFolder() const
{
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

MessageResult WindowPrompts::showMessage(MessageKind kind, MessageIcon icon, const QString &text)
{
    const KeyboardReturn keyboard;
    return m_warning->showMessage(kind, icon, text);
}

QString WindowPrompts::openFileName(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::ExistingFile).value(0);
}

QString WindowPrompts::saveFileName(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::AnyFile).value(0);
}

QStringList WindowPrompts::openFileNames(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::ExistingFiles);
}

QString WindowPrompts::browseFolder(const QString &caption, const QString &prompt, const QString &startFolder)
{
    const KeyboardReturn keyboard;
    QFileDialog dialog(keyboard.window(), prompt.isEmpty() ? caption : caption + u" – "_s + prompt,
                       this->startFolder(startFolder));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString folder = dialog.selectedFiles().constFirst();
    m_lastFolder = folder;
    return folder;
}

void WindowPrompts::showSavedClock(int x, int y)
{
    m_clock->showAt(x, y);
}

ClashAnswer WindowPrompts::resolveTextClash(const QString &name, const QString &inTest, const QString &incoming)
{
    m_textClash->prepare(name, inTest, incoming, clashNameCheck(true, name));
    placeClashDialog(*m_textClash);
    const KeyboardReturn keyboard;
    return m_textClash->ask();
}

ClashAnswer WindowPrompts::resolveImageClash(const QString &name, const QByteArray &inTest,
                                             const QString &inTestName, const QByteArray &incoming,
                                             const QString &incomingName)
{
    m_imageClash->prepare(name, inTest, inTestName, incoming, incomingName, clashNameCheck(false, name));
    placeClashDialog(*m_imageClash);
    const KeyboardReturn keyboard;
    return m_imageClash->ask();
}

std::function<QString(const QString &)> WindowPrompts::clashNameCheck(bool text, const QString &name) const
{
    if (!m_clashNameRule)
        return {};
    return [rule = m_clashNameRule, text, name](const QString &typed) { return rule(text, typed, name); };
}

void WindowPrompts::placeClashDialog(SkinnedWindow &dialog) const
{
    if (m_clashAnchor)
        dialog.placeAt(m_clashAnchor->pos() + QPoint(190, 80));
    else
        dialog.centreOnScreen();
}

void WindowPrompts::openHelpPage(const QString &page)
{
    ::openHelpPage(page, m_programFolder);
}

// AnyFile is the save dialog; the others open.
QStringList WindowPrompts::runFileDialog(const FileDialogRequest &request, QFileDialog::FileMode mode)
{
    const KeyboardReturn keyboard;
    QFileDialog dialog(keyboard.window(), request.title, startFolder(request.startFolder), request.filter);
    dialog.setAcceptMode(mode == QFileDialog::AnyFile ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QStringList paths = dialog.selectedFiles();
    m_lastFolder = QFileInfo(paths.constFirst()).absolutePath();
    return paths;
}

QString WindowPrompts::startFolder(const QString &requested) const
{
    return requested.isEmpty() ? lastFolder() : requested;
}
