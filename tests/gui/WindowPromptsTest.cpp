#include "ModalDriver.h"
#include "program/TFWarning.h"
#include "program/WindowPrompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Answers the file dialog that is up with `path` (an empty path cancels) and notes where it started.
void answerFileDialog(const QString &path, QString *startedIn, QString *title = nullptr)
{
    whenModal([=](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        *startedIn = QDir(dialog->directory()).absolutePath();
        if (title)
            *title = dialog->windowTitle();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it, QDialog does not
    });
}

TEST(WindowPrompts, MessagesGoThroughTheMessageBox)
{
    WindowPrompts prompts;
    ModalWatchdog watchdog;
    whenModal([](QWidget *modal) {
        EXPECT_EQ(modal->objectName(), u"FWarning"_s);
        QTest::keyClick(modal, Qt::Key_Right);
        QTest::keyClick(modal, Qt::Key_Return);
    });
    EXPECT_EQ(prompts.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon, u"Zapisać?"_s),
              MessageResult::No);
}

TEST(WindowPrompts, FileDialogsStartInTheProgramFolderThenInTheLastOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QDir(dir.path()).absolutePath();
    QFile existing(folder + u"/plan.skt"_s);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    WindowPrompts prompts;
    ModalWatchdog watchdog;
    const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath();
    EXPECT_EQ(prompts.lastFolder(), QCoreApplication::applicationDirPath());

    QString startedIn;
    QString title;
    answerFileDialog(folder + u"/plan.skt"_s, &startedIn, &title);
    FileDialogRequest open{u"Otwórz test"_s, u"Plik testu (*.skt)"_s, u"skt"_s, {}, {}};
    EXPECT_EQ(prompts.openFileName(open), folder + u"/plan.skt"_s);
    EXPECT_EQ(startedIn, programFolder);
    EXPECT_EQ(title, u"Otwórz test"_s);

    // The save dialog adds the default extension and starts where the last file was.
    answerFileDialog(folder + u"/nowy"_s, &startedIn);
    FileDialogRequest save{u"Zapisz jako ..."_s, u"Plik testu (*.skt)"_s, u"skt"_s, {}, {}};
    EXPECT_EQ(prompts.saveFileName(save), folder + u"/nowy.skt"_s);
    EXPECT_EQ(startedIn, folder);

    // A folder named by the request wins; a cancelled dialog gives nothing and changes no memory.
    answerFileDialog({}, &startedIn);
    FileDialogRequest elsewhere{u"Otwórz"_s, u"Plik testu (*.skt)"_s, u"skt"_s, programFolder, {}};
    EXPECT_TRUE(prompts.openFileName(elsewhere).isEmpty());
    EXPECT_EQ(startedIn, programFolder);
    EXPECT_EQ(prompts.lastFolder(), folder);
}

TEST(WindowPrompts, FolderBrowser)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QDir(dir.path()).absolutePath();
    ASSERT_TRUE(QDir(folder).mkdir(u"Pytania"_s));
    WindowPrompts prompts;
    ModalWatchdog watchdog;
    QString startedIn;
    QString title;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        startedIn = QDir(dialog->directory()).absolutePath();
        title = dialog->windowTitle();
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->selectFile(folder + u"/Pytania"_s);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it, QDialog does not
    });
    EXPECT_EQ(prompts.browseFolder(u"Podział testu"_s, u"Wskaż folder"_s, folder), folder + u"/Pytania"_s);
    EXPECT_EQ(startedIn, folder);
    EXPECT_EQ(title, u"Podział testu – Wskaż folder"_s);
    EXPECT_EQ(prompts.lastFolder(), folder + u"/Pytania"_s);
}

// Where no window manager hands the keyboard back after a file or folder dialog, the window that
// asked takes it back, with the field that had it.
TEST(WindowPrompts, TheWindowThatAskedGetsTheKeyboardBack)
{
    WindowPrompts prompts;
    ModalWatchdog watchdog;
    QDialog asker;
    asker.setObjectName(u"asker"_s);
    new QLineEdit(&asker); // the field that would take the keyboard by default
    auto *second = new QLineEdit(&asker);
    second->move(0, 40);
    const QList<std::function<void()>> dialogs = {
        [&] { prompts.openFileName({u"Otwórz"_s, u"Plik testu (*.skt)"_s, u"skt"_s, {}, {}}); },
        [&] { prompts.saveFileName({u"Zapisz"_s, u"Plik testu (*.skt)"_s, u"skt"_s, {}, {}}); },
        [&] { prompts.browseFolder(u"Wskaż folder"_s, {}, {}); },
    };
    whenModal([&](QWidget *modal) {
        ASSERT_EQ(modal, &asker);
        second->setFocus();
        for (qsizetype i = 0; i < dialogs.size(); ++i) {
            SCOPED_TRACE(i);
            whenModal([&](QWidget *dialog) {
                EXPECT_NE(qobject_cast<QFileDialog *>(dialog), nullptr);
                static_cast<QDialog *>(dialog)->reject();
                // The keyboard goes nowhere, as it does without a window manager.
                QWindowSystemInterface::handleWindowActivated(nullptr);
                QWindowSystemInterface::flushWindowSystemEvents();
                EXPECT_EQ(QApplication::activeWindow(), nullptr);
            });
            dialogs[i]();
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &asker; }, 2000));
            EXPECT_EQ(QApplication::focusWidget(), second);
        }
        asker.reject();
    });
    asker.exec();
}

class UrlRecorder : public QObject {
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(u"file"_s, this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(u"file"_s); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

TEST(WindowPrompts, HelpPagesComeFromThePomocFolder)
{
    UrlRecorder recorder;
    WindowPrompts prompts;
    prompts.openHelpPage(u"test_new.htm"_s);
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0].toLocalFile(), QCoreApplication::applicationDirPath() + u"/Pomoc/test_new.htm"_s);

    // The program's folder as the workspace holds it, wherever the executable is: the help pages, and
    // the first folder of the file dialogs.
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath(u"Pomoc"_s));
    prompts.setProgramFolder(program.path() + u'/');
    prompts.openHelpPage(u"test_new.htm"_s);
    ASSERT_EQ(recorder.urls.size(), 2);
    EXPECT_EQ(recorder.urls[1].toLocalFile(), program.path() + u"/Pomoc/test_new.htm"_s);
    EXPECT_EQ(prompts.lastFolder(), program.path() + u'/');
}

} // namespace

#include "WindowPromptsTest.moc"
