// Settings files: the same bytes as the editor's Edycja.ini (read at start-up, then loaded and saved
// back by one setting's update) and as a module settings file opened by its header.
#include "FuzzEnvironment.h"
#include "core/EditorSettings.h"
#include "settings/ModuleSettings.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzEnvironment &env = FuzzEnvironment::get();
    Workspace &ws = env.ws();
    env.inputFile(data, size, ws.paths.iniPath);
    ws.settings = EditorSettings{};
    LoadEditorSettings(ws);
    UpdateEditorSetting(ws, u"wo"_s, 1);

    TestingModuleSettings testing;
    LearningModuleSettings learning;
    OpenModuleSettingsFile(ws, env.inputFile(data, size, u"Test.ini"_s), testing, learning);
    return 0;
}
