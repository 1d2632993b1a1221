#include "core/EditorSettings.h"

#include "core/Workspace.h"
#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

struct FlagKey {
    const char16_t *key;
    bool EditorSettings::*field;
};
struct IntegerKey {
    const char16_t *key;
    int EditorSettings::*field;
};

// File order: the header "ed", the flags, then the integers.
constexpr FlagKey kFlags[] = {
    {u"al", &EditorSettings::al},   {u"ng", &EditorSettings::ng}, {u"dfto", &EditorSettings::dfto},
    {u"sw", &EditorSettings::sw},   {u"clg", &EditorSettings::clg}, {u"fn", &EditorSettings::fn},
    {u"dfe", &EditorSettings::dfe},
};
constexpr IntegerKey kIntegers[] = {
    {u"dft", &EditorSettings::dft}, {u"sk", &EditorSettings::sk},   {u"cel", &EditorSettings::cel},
    {u"bdb", &EditorSettings::bdb}, {u"db", &EditorSettings::db},   {u"dst", &EditorSettings::dst},
    {u"dp", &EditorSettings::dp},   {u"wo", &EditorSettings::wo},   {u"dfpz", &EditorSettings::dfpz},
    {u"zdz", &EditorSettings::zdz},
};

bool writeSettingsFile(Workspace &ws, const EditorSettings &values)
{
    TpkXML doc;
    doc.options.unicodeOutput = false;
    WriteSettingString(u"ed"_s, u"Edytor"_s, doc, ws.rng);
    for (const FlagKey &k : kFlags)
        WriteSettingFlag(QString::fromUtf16(k.key), values.*k.field, doc, ws.rng);
    for (const IntegerKey &k : kIntegers)
        WriteSettingInteger(QString::fromUtf16(k.key), values.*k.field, doc, ws.rng);
    return doc.SaveToFile(ws.paths.iniPath);
}

// Reads every key into `settings`; false when the header or a flag cannot be decoded.
bool readSettings(TpkXML &doc, EditorSettings &settings)
{
    for (const FlagKey &k : kFlags) {
        const std::optional<bool> flag = ReadSettingFlag(QString::fromUtf16(k.key), doc);
        if (!flag)
            return false;
        settings.*k.field = *flag;
    }
    for (const IntegerKey &k : kIntegers)
        ReadSettingInteger(QString::fromUtf16(k.key), settings.*k.field, doc);
    return true;
}

} // namespace

bool WriteDefaultEditorSettings(Workspace &ws)
{
    ws.settings = EditorSettings{};
    if (writeSettingsFile(ws, ws.settings)) {
        ws.logEvent(4, u"Utworzono nowy plik ini."_s);
        return true;
    }
    ws.logEvent(0, u"Problem z zapisem nowego pliku ini."_s);
    return false;
}

bool SaveEditorSettings(Workspace &ws)
{
    if (writeSettingsFile(ws, ws.settings)) {
        ws.logEvent(4, u"Zapisano nowe ustawienia w ini."_s);
        return true;
    }
    ws.logEvent(0, u"Problem z zapisem zmian w ini."_s);
    return false;
}

SettingsLoad LoadEditorSettings(Workspace &ws)
{
    SettingsLoad outcome = SettingsLoad::Loaded;
    if (!QFile::exists(ws.paths.iniPath)) {
        WriteDefaultEditorSettings(ws);
        ws.logEvent(0, u"Brak pliku ini. Utworzono nowy plik."_s);
        outcome = SettingsLoad::Missing;
    } else {
        TpkXML doc;
        QFile file(ws.paths.iniPath);
        const bool readable = file.open(QIODevice::ReadOnly);
        // A malformed document still yields what was parsed; missing keys then fail the read below.
        if (readable)
            doc.LoadFromBytes(file.readAll());
        const std::optional<QString> header = readable ? ReadSettingString(u"ed"_s, doc) : std::nullopt;
        if (header && *header != u"Edytor"_s) {
            WriteDefaultEditorSettings(ws);
            ws.logEvent(0, u"Błędny nagłówek pliku ini. Utworzono nowy plik."_s);
            outcome = SettingsLoad::WrongHeader;
        } else if (EditorSettings read = ws.settings; header && readSettings(doc, read)) {
            ws.settings = read;
            ws.logEvent(4, u"Poprawnie wczytano plik ini."_s);
        } else {
            WriteDefaultEditorSettings(ws);
            ws.logEvent(0, u"Uszkodzony plik ini. Utworzono nowy plik."_s);
            outcome = SettingsLoad::Damaged;
        }
    }
    ws.log.setFilterLevel(ws.settings.dfpz);
    return outcome;
}

bool UpdateEditorSetting(Workspace &ws, const QString &key, int value)
{
    TpkXML doc;
    doc.LoadFromFile(ws.paths.iniPath);
    doc.options.unicodeOutput = false;
    WriteSettingInteger(key, value, doc, ws.rng);
    return doc.SaveToFile(ws.paths.iniPath);
}
