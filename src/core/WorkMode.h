#pragma once

// Which kind of document the user is working on; the shared question, attachment and list code
// reads it to know whose data to act on.
enum WorkMode : int {
    WorkNothing = 0,
    WorkTest = 1,
    WorkSingleQuestion = 2,
    WorkTestList = 3, // also the set generation window
    WorkStudentList = 4,
    WorkEditorSettings = 5,
    WorkTestModuleSettings = 6,
    WorkLearningModuleSettings = 7,
    WorkOpeningModuleSettings = 8,
    WorkSetList = 10,
    WorkTransient = 111, // the question editor clearing its answer marks
};
