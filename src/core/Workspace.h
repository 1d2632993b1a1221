#pragma once

#include "core/EditorSettings.h"
#include "core/EventLog.h"
#include "core/Paths.h"
#include "core/Prompts.h"
#include "core/TestModel.h"
#include "core/WorkMode.h"

#include <QRandomGenerator>

#include <functional>
#include <memory>

class TVfsPAK;

// The attachment attached last time, one set for the whole program: offered again by the attachment
// dialogs. The source paths are empty when the file came from an archive.
struct LastAttachments {
    QString textName;
    QString textSource;
    QString imageName;
    QString imageSource;

    void clear() { *this = LastAttachments{}; }
};

// Everything one running program holds: paths, log, settings, the test and question in memory and
// the three working archives. Exactly one exists per program; tests build their own in a temporary
// data folder.
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    Paths paths;
    EventLog log;
    EditorSettings settings;
    TestModel test;
    SingleQuestion question;
    int workMode = WorkNothing;
    int mainLeft = 0;
    int mainTop = 0;
    QRandomGenerator rng;
    LastAttachments lastAttachments;

    std::unique_ptr<TVfsPAK> workingTest;
    std::unique_ptr<TVfsPAK> workingQuestion;
    std::unique_ptr<TVfsPAK> workingQuestionAs;

    // Where messages, file names and answers come from: the windows in the program, a script in
    // tests, the console in the command-line tool. Without one every question answers No.
    Prompts *prompts = nullptr;

    void logEvent(int level, const QString &text) { log.logEvent(level, text); }
    MessageResult showMessage(MessageKind kind, MessageIcon icon, const QString &text)
    {
        return prompts ? prompts->showMessage(kind, icon, text) : MessageResult::No;
    }
    // For a window's F1: its help page opens through the prompts (nothing without them).
    std::function<void(const QString &page)> helpOpener()
    {
        return [this](const QString &page) {
            if (prompts)
                prompts->openHelpPage(page);
        };
    }

    // Creates the four folders under the user's data folder (failures are silent), sets the start-up
    // log filter, draws the run number and forms every path. `appDataRoot` empty: the platform's.
    void setUpFoldersAndPaths(const QString &appDataRoot = {});
    // The executable's folder (or the given one), with a trailing "/".
    void setProgramFolder(const QString &folder = {});
    // Creates the three working archives empty, replacing files of those names; failures are ignored.
    void createWorkingArchives();
    // Closes the working archives and deletes their files.
    void shutDown();

    // Sets the log filter, stores it under "dfpz" and logs the change.
    void setLogLevel(int level);
};
