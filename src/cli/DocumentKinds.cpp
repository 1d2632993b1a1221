#include "DocumentKinds.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

struct KindNames {
    DocumentKind kind;
    QString name;
    QString extension;
    QString memberStem; // the document's own member, without ".xml" or ".txp"
    QString element;    // its top element
};

const QList<KindNames> &kinds()
{
    static const QList<KindNames> list = {
        {DocumentKind::Test, u"test"_s, u"skt"_s, u"Serr0"_s, u"tst"_s},
        {DocumentKind::Question, u"question"_s, u"skq"_s, u"Sezz0"_s, u"pyt"_s},
        {DocumentKind::TestList, u"testList"_s, u"skg"_s, u"Selt0"_s, u"lst"_s},
        {DocumentKind::SetList, u"setList"_s, u"skz"_s, u"Selz0"_s, u"lsz"_s},
        {DocumentKind::StudentList, u"studentList"_s, u"sku"_s, u"Selu0"_s, u"szk"_s},
        {DocumentKind::EditorSettings, u"editorSettings"_s, u"ini"_s, {}, u"Ini"_s},
        {DocumentKind::TestModuleSettings, u"testModuleSettings"_s, u"ini"_s, {}, u"Ini"_s},
        {DocumentKind::LearningModuleSettings, u"learningModuleSettings"_s, u"ini"_s, {}, u"Ini"_s},
    };
    return list;
}

const KindNames &namesOf(DocumentKind kind)
{
    for (const KindNames &k : kinds()) {
        if (k.kind == kind)
            return k;
    }
    return kinds().first(); // every kind is in the table
}

} // namespace

QString documentKindName(DocumentKind kind)
{
    return namesOf(kind).name;
}

std::optional<DocumentKind> documentKindFromName(QStringView name)
{
    for (const KindNames &k : kinds()) {
        if (k.name == name)
            return k.kind;
    }
    return std::nullopt;
}

bool isSettingsKind(DocumentKind kind)
{
    return kind == DocumentKind::EditorSettings || kind == DocumentKind::TestModuleSettings ||
           kind == DocumentKind::LearningModuleSettings;
}

QString documentExtension(DocumentKind kind)
{
    return u'.' + namesOf(kind).extension;
}

QString documentMemberStem(DocumentKind kind)
{
    return namesOf(kind).memberStem;
}

QString documentElement(DocumentKind kind)
{
    return namesOf(kind).element;
}

std::optional<DocumentKind> documentKindFromExtension(const QString &path, bool *settingsFile)
{
    const QString suffix = QFileInfo(path).suffix();
    if (settingsFile)
        *settingsFile = suffix.compare(u"ini"_s, Qt::CaseInsensitive) == 0;
    for (const KindNames &k : kinds()) {
        if (!isSettingsKind(k.kind) && suffix.compare(k.extension, Qt::CaseInsensitive) == 0)
            return k.kind;
    }
    return std::nullopt;
}

const QList<SettingKey> &settingKeys(DocumentKind kind)
{
    using enum SettingType;
    static const QList<SettingKey> editor = {
        {u"ed"_s, Text},      {u"al"_s, Flag},     {u"ng"_s, Flag},     {u"dfto"_s, Flag},
        {u"sw"_s, Flag},      {u"clg"_s, Flag},    {u"fn"_s, Flag},     {u"dfe"_s, Flag},
        {u"dft"_s, Integer},  {u"sk"_s, Integer},  {u"cel"_s, Integer}, {u"bdb"_s, Integer},
        {u"db"_s, Integer},   {u"dst"_s, Integer}, {u"dp"_s, Integer},  {u"wo"_s, Integer},
        {u"dfpz"_s, Integer}, {u"zdz"_s, Integer},
    };
    static const QList<SettingKey> testing = {
        {u"ed"_s, Text},       {u"sct"_s, Text},   {u"scl"_s, Text},     {u"al"_s, Flag},
        {u"fn"_s, Flag},       {u"opl"_s, Flag},   {u"chl"_s, Flag},     {u"woc"_s, Flag},
        {u"sk"_s, Thresholds}, {u"wo"_s, Integer}, {u"dfpz"_s, Integer}, {u"trc"_s, Integer},
        {u"wz"_s, Flag},
    };
    static const QList<SettingKey> learning = {
        {u"ed"_s, Text}, {u"sct"_s, Text}, {u"al"_s, Flag},    {u"rq"_s, Flag},
        {u"rr"_s, Flag}, {u"voi"_s, Flag}, {u"wo"_s, Integer},
    };
    static const QList<SettingKey> none;
    switch (kind) {
    case DocumentKind::EditorSettings:
        return editor;
    case DocumentKind::TestModuleSettings:
        return testing;
    case DocumentKind::LearningModuleSettings:
        return learning;
    default:
        return none;
    }
}

QString settingsHeader(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::EditorSettings:
        return u"Edytor"_s;
    case DocumentKind::TestModuleSettings:
        return u"Tester"_s;
    case DocumentKind::LearningModuleSettings:
        return u"Nauka"_s;
    default:
        return {};
    }
}

std::optional<DocumentKind> settingsKindFromHeader(QStringView header)
{
    for (DocumentKind kind : {DocumentKind::EditorSettings, DocumentKind::TestModuleSettings,
                              DocumentKind::LearningModuleSettings}) {
        if (header == settingsHeader(kind))
            return kind;
    }
    return std::nullopt;
}
