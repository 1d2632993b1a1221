#include "program/TFApplication.h"

#include "program/RecoveryKeeper.h"
#include "program/TFGlowny.h"
#include "program/TFTloBig.h"
#include "program/TFWinieta.h"
#include "program/TFZdarzenia.h"
#include "grading/TFKarty.h"
#include "print/TFDrukuj.h"
#include "question/AttachmentFiles.h"
#include "question/TFPytanie.h"
#include "settings/TFIniEdytor.h"
#include "settings/TFIniTesty.h"
#include "students/TFListaUczniow.h"
#include "testeditor/TFGeneruj.h"
#include "testeditor/TFListaTestow.h"
#include "testeditor/TFTest.h"
#include "toolkit/SkinnedWindow.h"
#include "program/WindowPrompts.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

using namespace Qt::StringLiterals;

const QString TFApplication::title = u"Zadanix - Edytor v. 4.0"_s;

TFApplication::TFApplication(const Options &options) : m_options(options), m_commands(m_ws, m_editors)
{
    QGuiApplication::setApplicationDisplayName(title);

    // Every window is made here, hidden, in the program's fixed order; the editors join the list at
    // their places as they are built: background, test editor, main window, question editor, its two
    // attachment windows, the message box, the two name-clash dialogs, test and question information,
    // question properties, the context menu, set generation, the clock, the test list editor and its
    // entry dialog, the student list editor and its two dialogs, the editor settings dialog, the about
    // window, the module settings window, the class list author dialog and the log window.
    m_background = std::make_unique<TFTloBig>(m_commands);
    m_background->setWindowTitle(title);
    // The main window belongs to the background: one entry in the task bar, minimised together.
    m_main = std::make_unique<TFGlowny>(m_ws, m_commands, m_editors, m_background.get());
    m_main->setWindowTitle(title);
    m_background->setMainWindow(m_main.get());
    if (m_options.prompts) {
        m_ws.prompts = m_options.prompts;
    } else {
        m_windowPrompts = std::make_unique<WindowPrompts>();
        m_ws.prompts = m_windowPrompts.get();
    }
    m_recovery = std::make_unique<RecoveryKeeper>(m_ws);
    m_questionEditor = std::make_unique<TFPytanie>(m_ws, m_main.get(), m_main.get());
    m_testEditor = std::make_unique<TFTest>(m_ws, m_main.get(), m_main.get());
    m_testEditor->setQuestionEditor(m_questionEditor.get());
    // The clash dialogs serve the test only: they stand beside its editor and refuse a new name the
    // test's files already use.
    if (m_windowPrompts) {
        m_windowPrompts->setClashAnchor(m_testEditor.get());
        m_windowPrompts->setClashNameRule([this](bool text, const QString &typed, const QString &name) {
            return AttachmentFiles::clashNameProblem(text, typed, name, m_ws.workingTest.get());
        });
    }
    m_testEditor->editor().windows.print = [this] { TFDrukuj::showPrintDialog(m_ws, m_testEditor.get()); };
    m_testEditor->editor().windows.grade = [this] { TFKarty::showGradingWindow(m_ws, m_testEditor.get()); };
    m_generation = std::make_unique<TFGeneruj>(m_ws, m_main.get());
    m_editorSettings = std::make_unique<TFIniEdytor>(m_ws, m_main.get());
    m_about = std::make_unique<TFWinieta>(m_main.get());
    m_main->setAboutWindow(m_about.get());
    m_logWindow = std::make_unique<TFZdarzenia>(m_ws, m_main.get());
    m_testListEditor = std::make_unique<TFListaTestow>(m_ws, m_main.get());
    m_studentListEditor = std::make_unique<TFListaUczniow>(m_ws, m_main.get());
    m_moduleSettings = std::make_unique<TFIniTesty>(m_ws, m_main.get());

    registerEditors();
    m_editors.closeWindows = [this] { return closeOtherWindows(); };
    m_editors.resetMenu = [this] { m_main->openGroup(TFGlowny::NoGroup); };
    m_editors.later = [this](std::function<void()> step) { QTimer::singleShot(0, this, std::move(step)); };
    SkinnedWindow::setProgramHooks({
        .dropFiles = [this](const QStringList &paths) { dropFiles(paths); },
        .openHelpPage = [this](const QString &page) {
            if (m_ws.prompts)
                m_ws.prompts->openHelpPage(page);
        },
    });
    // In window mode 0 the background's one pixel stays under the main window wherever it goes.
    m_main->installEventFilter(this);

    connect(m_background.get(), &TFTloBig::firstShown, this, &TFApplication::startUp, Qt::QueuedConnection);
    connect(m_background.get(), &TFTloBig::closed, this, &TFApplication::finished);
    connect(m_background.get(), &TFTloBig::restored, m_main.get(), &QWidget::showNormal);
    connect(m_main.get(), &TFGlowny::windowModeToggleRequested, this, &TFApplication::toggleWindowMode);
    connect(m_main.get(), &TFGlowny::closeRequested, this, &TFApplication::quit);
    connect(m_main.get(), &TFGlowny::minimizeRequested, this, &TFApplication::minimize);
}

TFApplication::~TFApplication()
{
    shutDown();
    SkinnedWindow::setProgramHooks({});
    m_ws.prompts = nullptr;
}

// Every window that edits a document or answers a menu command, once: its commands, the documents
// it opens by extension and its modified flag.
void TFApplication::registerEditors()
{
    using C = ProgramEditors::Command;
    using D = ProgramEditors::Document;
    TFPytanie *question = m_questionEditor.get();
    m_editors.add({
        .name = u"FPytanie"_s,
        .commands = {{C::NewQuestion, [question] { question->newSingleQuestion(); }},
                     {C::OpenQuestion, [question] { question->openSingleQuestion(); }}},
        .documents = {{D::Question, [question](const QString &path) { question->openSingleQuestionFile(path); }}},
        .modified = [question] { return question->holdsUnsavedWork(); },
    });
    m_recovery->add({
        .slot = u"pytanie"_s,
        .extension = u"skq"_s,
        .modified = [question] { return question->editor().questionModified; },
        .revision = [question] { return question->editor().revision(); },
        .writeCopy = [question](const QString &path) { return question->editor().writeRecoveryCopy(path); },
        .original = [this] { return m_ws.question.filePath; },
        .restore = [question](const QString &copy, const QString &original) {
            question->openRecoveryCopy(copy, original);
        },
    });
    TFTest *test = m_testEditor.get();
    m_editors.add({
        .name = u"FTest"_s,
        .commands = {{C::NewTest, [test] { test->newTest(); }},
                     {C::OpenTest, [test] { test->openTest(); }},
                     {C::GenerateSet, [this] { m_generation->showGeneration(); }}},
        .documents = {{D::Test, [test](const QString &path) { test->openTestFile(path); }}},
        .modified = [test] { return test->holdsUnsavedWork(); },
    });
    m_recovery->add({
        .slot = u"test"_s,
        .extension = u"skt"_s,
        .modified = [test] { return test->editor().modified; },
        .revision = [test] { return test->editor().revision(); },
        .writeCopy = [test](const QString &path) { return test->editor().writeRecoveryCopy(path); },
        .original = [test] { return test->editor().testFile; },
        .restore = [test](const QString &copy, const QString &original) { test->openRecoveryCopy(copy, original); },
    });
    m_editors.add({
        .name = u"FIniEdytor"_s,
        .commands = {{C::EditEditorSettings, [this] { m_editorSettings->run(); }}},
        .documents = {},
        .modified = [this] { return m_editorSettings->holdsUnsavedWork(); },
    });
    TFListaTestow *testList = m_testListEditor.get();
    m_editors.add({
        .name = u"FListaTestow"_s,
        // "Nowa lista testów" and "Nowa lista pytań" are one command; WorkMode 3 or 10 tells them apart.
        .commands = {{C::NewTestList, [testList] { testList->newTestList(); }},
                     {C::OpenTestList, [testList] { testList->openTestList(); }},
                     {C::OpenSetList, [testList] { testList->openSetList(); }}},
        .documents = {{D::TestList, [testList](const QString &path) { testList->openTestListFile(path); }},
                      {D::SetList, [testList](const QString &path) { testList->openSetListFile(path); }}},
        .modified = [testList] { return testList->editor().modified; },
    });
    TFListaUczniow *students = m_studentListEditor.get();
    m_editors.add({
        .name = u"FListaUczniow"_s,
        .commands = {{C::NewStudentList, [students] { students->newStudentList(); }},
                     {C::OpenStudentList, [students] { students->openStudentList(); }}},
        .documents = {{D::StudentList,
                       [students](const QString &path) { students->openStudentListFile(path); }}},
        .modified = [students] { return students->holdsUnsavedWork(); },
    });
    for (const auto kind : {TestListEditor::Kind::TestList, TestListEditor::Kind::SetList}) {
        const bool tests = kind == TestListEditor::Kind::TestList;
        m_recovery->add({
            .slot = tests ? u"lista-testow"_s : u"lista-zestawow"_s,
            .extension = tests ? u"skg"_s : u"skz"_s,
            .modified = [testList, kind] {
                return testList->editor().modified && testList->editor().listKind == kind;
            },
            .revision = {},
            .writeCopy = [testList](const QString &path) { return testList->editor().writeRecoveryCopy(path); },
            .original = [testList] { return testList->editor().listFile; },
            .restore = [testList, kind](const QString &copy, const QString &original) {
                testList->openRecoveryCopy(kind, copy, original);
            },
        });
    }
    m_recovery->add({
        .slot = u"uczniowie"_s,
        .extension = u"sku"_s,
        .modified = [students] { return students->editor().list.modified; },
        .revision = {},
        .writeCopy = [students](const QString &path) { return students->editor().writeRecoveryCopy(path); },
        .original = [students] { return students->editor().path; },
        .restore = [students](const QString &copy, const QString &original) {
            students->openRecoveryCopy(copy, original);
        },
    });
    TFIniTesty *moduleSettings = m_moduleSettings.get();
    m_editors.add({
        .name = u"FIniTesty"_s,
        .commands = {{C::NewTestSettings, [moduleSettings] { moduleSettings->newTestSettings(); }},
                     {C::NewLearningSettings, [moduleSettings] { moduleSettings->newLearningSettings(); }},
                     {C::OpenModuleSettings, [moduleSettings] { moduleSettings->openModuleSettings(); }}},
        .documents = {},
        .modified = [moduleSettings] { return moduleSettings->holdsUnsavedWork(); },
    });
    m_recovery->add({
        .slot = u"ustawienia-modulu"_s,
        .extension = u"ini"_s,
        .modified = [moduleSettings] { return moduleSettings->holdsUnsavedWork(); },
        .revision = [moduleSettings] { return moduleSettings->form().revision(); },
        .writeCopy = [moduleSettings](const QString &path) { return moduleSettings->form().writeRecoveryCopy(path); },
        .original = [moduleSettings] {
            const ModuleSettingsForm &form = moduleSettings->form();
            return form.panel == ModuleSettingsForm::Panel::Testing ? form.testingPath : form.learningPath;
        },
        .restore = [moduleSettings](const QString &copy, const QString &original) {
            moduleSettings->openRecoveryCopy(copy, original);
        },
    });
    m_editors.add({
        .name = u"FZdarzenia"_s,
        .commands = {{C::ShowLog, [this] { m_logWindow->run(); }}},
        .documents = {},
        .modified = {},
    });
}

void TFApplication::dropFiles(const QStringList &paths)
{
    if (m_started && !m_shutDown)
        m_commands.dropFiles(paths, DropTarget::MainWindow);
}

bool TFApplication::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_main.get() && event->type() == QEvent::Move)
        m_background->followMainWindow(m_main->pos());
    return QObject::eventFilter(watched, event);
}

void TFApplication::show()
{
    m_background->show();
}

QRect TFApplication::workArea() const
{
    if (m_options.workArea.isValid())
        return m_options.workArea;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return {0, 0, kMainWidth, kMainHeight};
}

void TFApplication::startUp()
{
    if (m_started)
        return;
    m_started = true;
    QString root = m_options.appDataRoot;
    if (root.isEmpty()) {
        // The folders below it are made one level at a time; the data folder itself may be missing on
        // a fresh account.
        root = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QDir().mkpath(root);
    }
    // Folders and paths, the settings (log filter and window mode), the placement stored under "wo",
    // the program folder and the three working archives.
    applyPlacement(m_commands.startUp(workArea(), root, m_options.programFolder));
    if (m_windowPrompts)
        m_windowPrompts->setProgramFolder(m_ws.paths.programFolder);
    // Showing the main window opens the start group and switches the log to yyyy/MM/dd dates; it is
    // drawn before anything else happens.
    m_main->show();
    m_main->raise();
    QCoreApplication::processEvents();
    // Work a crashed run left comes back first, then the document of the command line.
    m_recovery->start(m_ws.paths.editorFolder + u"/Odzysk"_s, m_options.recoveryIntervalMs);
    m_recovery->offerLeftBehind();
    m_commands.openCommandLine(m_options.arguments);
    emit started();
}

void TFApplication::applyPlacement(const WindowPlacement &placement)
{
    if (!placement.known)
        return;
    m_background->applyPlacement(placement);
    m_main->move(m_ws.mainLeft, m_ws.mainTop);
    m_main->raise();
}

void TFApplication::toggleWindowMode()
{
    applyPlacement(m_commands.toggleWindowMode(workArea()));
    m_main->windowModeChanged();
}

void TFApplication::quit()
{
    m_main->hide();
    m_background->close();
}

void TFApplication::minimize()
{
    m_main->showMinimized();
    m_background->showMinimized();
}

void TFApplication::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_started) {
        m_recovery->finish();
        m_ws.shutDown();
    }
    m_background->setAcceptDrops(false);
    m_main->setAcceptDrops(false);
}

SkinnedWindow *TFApplication::nextWindowToClose() const
{
    auto closable = [this](QWidget *window) -> SkinnedWindow * {
        auto *skinned = qobject_cast<SkinnedWindow *>(window);
        return skinned && skinned != m_main.get() && skinned->isVisible()
                   ? skinned
                   : nullptr;
    };
    // The modal on top first: a window opened from another closes before the one that opened it.
    if (SkinnedWindow *top = closable(QApplication::activeModalWidget()))
        return top;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (SkinnedWindow *skinned = closable(window))
            return skinned;
    }
    return nullptr;
}

bool TFApplication::closeOtherWindows()
{
    bool closed = false;
    // Each through its own close path; a window that stays open after it is rejected, so the loop ends.
    while (SkinnedWindow *window = nextWindowToClose()) {
        window->closeWindow();
        if (window->isVisible())
            window->done(QDialog::Rejected);
        closed = true;
        if (window->isVisible())
            break;
    }
    // The closed editors' documents are left; the opened one sets its own work mode.
    if (closed)
        m_ws.workMode = WorkNothing;
    return closed;
}
