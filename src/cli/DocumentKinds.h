#pragma once

#include <QList>
#include <QString>
#include <optional>

// The kinds of file the tool reads and writes, with their names in the JSON form ("kind").
enum class DocumentKind {
    Test,
    Question,
    TestList,
    SetList,
    StudentList,
    EditorSettings,
    TestModuleSettings,
    LearningModuleSettings,
};

QString documentKindName(DocumentKind kind);
std::optional<DocumentKind> documentKindFromName(QStringView name);
bool isSettingsKind(DocumentKind kind);

// ".skt", ".skq", ".skg", ".skz", ".sku"; ".ini" for every settings kind.
QString documentExtension(DocumentKind kind);
// The document's own member without ".xml" (version 40) or ".txp" (version 35): "Serr0", "Sezz0",
// "Selt0", "Selz0", "Selu0"; empty for settings files, which are no archives.
QString documentMemberStem(DocumentKind kind);
// The top element of its XML: "tst", "pyt", "lst", "lsz", "szk"; "Ini" for settings files.
QString documentElement(DocumentKind kind);
// By the file name's extension, ignoring case. A settings file (.ini) gets its kind from its header,
// so here it has none; `settingsFile` tells it apart from an unknown extension.
std::optional<DocumentKind> documentKindFromExtension(const QString &path, bool *settingsFile = nullptr);

// Settings files: the keys each kind writes, in file order, the header "ed" first.
enum class SettingType {
    Text,       // missing or undecodable: the file does not read
    Flag,       // the same; on when the text is "1"
    Integer,    // missing or not a number: reads as 0
    Thresholds, // text of ten digits, "sk" of the testing module
};
struct SettingKey {
    QString key;
    SettingType type;
};
const QList<SettingKey> &settingKeys(DocumentKind kind);
// "Edytor", "Tester", "Nauka".
QString settingsHeader(DocumentKind kind);
std::optional<DocumentKind> settingsKindFromHeader(QStringView header);
