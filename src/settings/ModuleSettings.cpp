#include "settings/ModuleSettings.h"

#include "core/Workspace.h"
#include "storage/AtomicFile.h"
#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kLowestThreshold = 10;
constexpr int kHighestThreshold = 99;

// A text or flag key that is missing or cannot be decoded fails the whole read.
struct Reader {
    TpkXML &doc;
    bool ok = true;

    QString text(const QString &key)
    {
        const std::optional<QString> value = ReadSettingString(key, doc);
        ok = ok && value.has_value();
        return value.value_or(QString());
    }
    bool flag(const QString &key)
    {
        const std::optional<bool> value = ReadSettingFlag(key, doc);
        ok = ok && value.has_value();
        return value.value_or(false);
    }
    // A missing or non-numeric integer reads as 0 without failing.
    int integer(const QString &key)
    {
        int value = 0;
        ReadSettingInteger(key, value, doc);
        return value;
    }
};

bool readTesting(TpkXML &doc, TestingModuleSettings &out)
{
    Reader r{doc};
    TestingModuleSettings v;
    v.sct = r.text(u"sct"_s);
    v.scl = r.text(u"scl"_s);
    v.al = r.flag(u"al"_s);
    v.fn = r.flag(u"fn"_s);
    v.opl = r.flag(u"opl"_s);
    v.chl = r.flag(u"chl"_s);
    v.woc = r.flag(u"woc"_s);
    v.wz = r.flag(u"wz"_s);
    const std::optional<std::array<int, 5>> thresholds = ParseThresholdText(r.text(u"sk"_s));
    if (!r.ok || !thresholds)
        return false;
    v.thresholds = *thresholds;
    v.wo = r.integer(u"wo"_s);
    v.dfpz = r.integer(u"dfpz"_s);
    v.trc = r.integer(u"trc"_s);
    out = v;
    return true;
}

bool readLearning(TpkXML &doc, LearningModuleSettings &out)
{
    Reader r{doc};
    LearningModuleSettings v;
    v.sct = r.text(u"sct"_s);
    v.al = r.flag(u"al"_s);
    v.rq = r.flag(u"rq"_s);
    v.rr = r.flag(u"rr"_s);
    v.voi = r.flag(u"voi"_s);
    if (!r.ok)
        return false;
    v.wo = r.integer(u"wo"_s);
    out = v;
    return true;
}

// `fileName` names the file in the log: "Test.ini" or "Nauka.ini".
bool saveSettings(Workspace &ws, TpkXML &doc, const QString &path, const QString &fileName, SettingsWriteLog log)
{
    doc.options.unicodeOutput = false;
    const bool written = AtomicFile::write(path, doc.SaveToBytes());
    if (log == SettingsWriteLog::Logged) {
        if (written)
            ws.logEvent(4, u"Zapisano nowy plik "_s + fileName + u"."_s);
        else
            ws.logEvent(0, u"Problem z zapisem "_s + fileName + u"."_s);
    }
    return written;
}

} // namespace

QString ThresholdText(const std::array<int, 5> &thresholds)
{
    QString text;
    for (int t : thresholds)
        text += QString::number(std::clamp(t, kLowestThreshold, kHighestThreshold));
    return text;
}

std::optional<std::array<int, 5>> ParseThresholdText(QStringView text)
{
    if (text.size() < 10)
        return std::nullopt;
    std::array<int, 5> values{};
    for (qsizetype i = 0; i < 5; ++i) {
        const QChar high = text[2 * i];
        const QChar low = text[2 * i + 1];
        if (high < u'0' || high > u'9' || low < u'0' || low > u'9')
            return std::nullopt;
        const int value = (high.unicode() - u'0') * 10 + (low.unicode() - u'0');
        values[static_cast<size_t>(i)] = std::clamp(value, kLowestThreshold, kHighestThreshold);
    }
    return values;
}

ModuleFileKind OpenModuleSettingsFile(Workspace &ws, const QString &path, TestingModuleSettings &testing,
                                      LearningModuleSettings &learning)
{
    TpkXML doc;
    const std::optional<QString> header =
        doc.LoadFromFile(path) ? ReadSettingString(u"ed"_s, doc) : std::nullopt;
    if (!header) {
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                       u"Problem z wczytaniem pliku. Plik jest uszkodzony."_s);
        ws.logEvent(0, u"Uszkodzony plik ini. Błąd odczytu."_s);
        return ModuleFileKind::Damaged;
    }

    const auto damaged = [&ws](const QString &entry) {
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                       u"Plik jest uszkodzony. Utwórz nowy plik."_s);
        ws.logEvent(0, entry);
        return ModuleFileKind::Damaged;
    };
    if (*header == u"Tester"_s) {
        if (!readTesting(doc, testing))
            return damaged(u"Uszkodzony plik Test.ini. Błąd odczytu."_s);
        ws.logEvent(4, u"Poprawnie wczytano plik Test.ini."_s);
        ws.workMode = WorkTestModuleSettings;
        return ModuleFileKind::Testing;
    }
    if (*header == u"Nauka"_s) {
        if (!readLearning(doc, learning))
            return damaged(u"Uszkodzony plik Nauka.ini. Błąd odczytu."_s);
        ws.logEvent(4, u"Poprawnie wczytano plik Nauka.ini."_s);
        ws.workMode = WorkLearningModuleSettings;
        return ModuleFileKind::Learning;
    }
    if (*header == u"Edytor"_s) {
        ws.workMode = WorkNothing;
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                       u"By edytować plik \"Edytor.ini\" wybierz:\rPomoc->Ustawienia Edytora."_s);
        return ModuleFileKind::Editor;
    }
    return ModuleFileKind::Other;
}

bool WriteTestingModuleSettings(Workspace &ws, const QString &path, const TestingModuleSettings &v,
                                SettingsWriteLog log)
{
    TpkXML doc;
    WriteSettingString(u"ed"_s, u"Tester"_s, doc, ws.rng);
    WriteSettingString(u"sct"_s, v.sct, doc, ws.rng);
    WriteSettingString(u"scl"_s, v.scl, doc, ws.rng);
    WriteSettingFlag(u"al"_s, v.al, doc, ws.rng);
    WriteSettingFlag(u"fn"_s, v.fn, doc, ws.rng);
    WriteSettingFlag(u"opl"_s, v.opl, doc, ws.rng);
    WriteSettingFlag(u"chl"_s, v.chl, doc, ws.rng);
    WriteSettingFlag(u"woc"_s, v.woc, doc, ws.rng);
    WriteSettingString(u"sk"_s, ThresholdText(v.thresholds), doc, ws.rng);
    WriteSettingInteger(u"wo"_s, v.wo, doc, ws.rng);
    WriteSettingInteger(u"dfpz"_s, v.dfpz, doc, ws.rng);
    WriteSettingInteger(u"trc"_s, v.trc, doc, ws.rng);
    WriteSettingFlag(u"wz"_s, v.wz, doc, ws.rng);
    return saveSettings(ws, doc, path, u"Test.ini"_s, log);
}

bool WriteLearningModuleSettings(Workspace &ws, const QString &path, const LearningModuleSettings &v,
                                 SettingsWriteLog log)
{
    TpkXML doc;
    WriteSettingString(u"ed"_s, u"Nauka"_s, doc, ws.rng);
    WriteSettingString(u"sct"_s, v.sct, doc, ws.rng);
    WriteSettingFlag(u"al"_s, v.al, doc, ws.rng);
    WriteSettingFlag(u"rq"_s, v.rq, doc, ws.rng);
    WriteSettingFlag(u"rr"_s, v.rr, doc, ws.rng);
    WriteSettingFlag(u"voi"_s, v.voi, doc, ws.rng);
    WriteSettingInteger(u"wo"_s, v.wo, doc, ws.rng);
    return saveSettings(ws, doc, path, u"Nauka.ini"_s, log);
}
