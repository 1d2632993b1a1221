#include "DocumentJson.h"

#include "settings/ModuleSettings.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The settings decoder reads at most this many bytes of a value.
constexpr qsizetype kMaxSettingBytes = 500;

QJsonArray numbers(const std::array<int, 5> &values)
{
    QJsonArray out;
    for (int v : values)
        out.append(v);
    return out;
}

QJsonArray texts(const std::array<QString, kMaxAnswers> &values)
{
    QJsonArray out;
    for (const QString &v : values)
        out.append(v);
    return out;
}

QJsonArray membersJson(const QList<DocumentMember> &members)
{
    QJsonArray out;
    for (const DocumentMember &m : members) {
        QJsonObject member{{u"name"_s, m.name}, {u"size"_s, m.size}};
        if (!m.path.isEmpty()) // exported with its attachments
            member.insert(u"path"_s, m.path);
        out.append(member);
    }
    return out;
}

QJsonObject testJson(const DocumentSnapshot &d)
{
    const TestHeader &h = d.test.header;
    const QJsonObject header{
        {u"answerCount"_s, h.answerCount},
        {u"multipleChoice"_s, h.multipleChoice},
        {u"questionCount"_s, h.questionCount},
        {u"time"_s, h.time},
        {u"testName"_s, h.testName},
        {u"author"_s, h.author},
        {u"date"_s, h.date},
        {u"remarks"_s, h.remarks},
        {u"gradingOn"_s, h.gradingOn},
        {u"thresholds"_s, numbers(h.thresholds)},
    };
    QJsonArray questions;
    for (int k = 1; k <= std::clamp(h.questionCount, 0, kMaxQuestions); ++k) {
        const Question &q = d.test.question(k);
        questions.append(QJsonObject{
            {u"text"_s, q.text},
            {u"answers"_s, texts(q.answers)},
            {u"correct"_s, q.correct},
            {u"imageName"_s, q.imageName},
            {u"textName"_s, q.textName},
            {u"comment"_s, q.comment},
        });
    }
    return {{u"kind"_s, u"test"_s},
            {u"version"_s, d.version},
            {u"header"_s, header},
            {u"questions"_s, questions},
            {u"members"_s, membersJson(d.members)}};
}

QJsonObject questionJson(const DocumentSnapshot &d)
{
    const SingleQuestion &q = d.question;
    const QJsonObject question{
        {u"storedName"_s, q.storedName},   {u"multipleChoice"_s, q.multipleChoice},
        {u"answerCount"_s, q.answerCount}, {u"text"_s, q.text},
        {u"answers"_s, texts(q.answers)},  {u"correct"_s, q.correct},
        {u"imageName"_s, q.imageName},     {u"textName"_s, q.textName},
        {u"comment"_s, q.comment},         {u"savedAt"_s, q.savedAt},
    };
    return {{u"kind"_s, u"question"_s},
            {u"version"_s, d.version},
            {u"question"_s, question},
            {u"members"_s, membersJson(d.members)}};
}

QJsonObject listJson(const DocumentSnapshot &d)
{
    return {{u"kind"_s, documentKindName(d.kind)}, {u"version"_s, d.version},
            {u"author"_s, d.listInfo.author},      {u"date"_s, d.listInfo.date},
            {u"remarks"_s, d.listInfo.remarks},    {u"entries"_s, QJsonArray::fromStringList(d.entries)}};
}

QJsonObject studentsJson(const DocumentSnapshot &d)
{
    QJsonArray classes;
    for (const SchoolClass &c : d.students.classes) {
        QJsonArray students;
        for (const Student &s : c.students)
            students.append(QJsonObject{{u"firstName"_s, s.firstName}, {u"surname"_s, s.surname}});
        classes.append(QJsonObject{
            {u"name"_s, c.name},
            {u"resultsFolder"_s, c.resultsFolder},
            {u"time"_s, c.time},
            {u"gradingOn"_s, c.gradingOn},
            {u"thresholds"_s, numbers(c.thresholds)},
            {u"students"_s, students},
        });
    }
    const StudentList &l = d.students;
    return {{u"kind"_s, u"studentList"_s}, {u"version"_s, d.version}, {u"author"_s, l.author},
            {u"date"_s, l.date},           {u"remarks"_s, l.remarks}, {u"totalStudents"_s, l.totalStudents()},
            {u"classes"_s, classes}};
}

// A JSON string literal, escaped by QJsonDocument.
QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);
}

// Written by hand in QJsonDocument's indented layout, because a QJsonObject sorts its keys and the
// values must keep their file order.
QByteArray settingsJson(const DocumentSnapshot &d)
{
    QByteArray out = "{\n    \"kind\": " + jsonString(documentKindName(d.kind)) + ",\n    \"values\": {";
    for (qsizetype i = 0; i < d.settings.size(); ++i) {
        out += (i == 0 ? "\n" : ",\n");
        out += "        " + jsonString(d.settings[i].key) + ": " + jsonString(d.settings[i].value);
    }
    out += d.settings.isEmpty() ? "}\n}\n" : "\n    }\n}\n";
    return out;
}

// Reads the members of one JSON object with their types checked; the first problem is kept, and
// after it every read gives an empty value.
class Fields {
public:
    Fields(const QJsonObject &object, QString where, QString &error)
        : m_object(object), m_where(std::move(where)), m_error(error)
    {}

    bool failed() const { return !m_error.isEmpty(); }
    void fail(const QString &what)
    {
        if (m_error.isEmpty())
            m_error = what;
    }
    QString at(const QString &key) const { return m_where.isEmpty() ? key : m_where + u'.' + key; }

    // Refuses keys outside `known`.
    void only(std::initializer_list<QStringView> known)
    {
        for (auto it = m_object.begin(); it != m_object.end() && !failed(); ++it) {
            if (std::find(known.begin(), known.end(), it.key()) == known.end())
                fail(u"unknown key \"%1\"%2."_s.arg(it.key(),
                                                    m_where.isEmpty() ? QString() : u" in "_s + m_where));
        }
    }
    bool has(const QString &key) const { return m_object.contains(key); }

    QJsonValue value(const QString &key)
    {
        if (failed())
            return {};
        if (!m_object.contains(key)) {
            fail(u"\"%1\" is missing%2."_s.arg(key, m_where.isEmpty() ? QString() : u" in "_s + m_where));
            return {};
        }
        return m_object.value(key);
    }
    QString text(const QString &key)
    {
        const QJsonValue v = value(key);
        if (!failed() && !v.isString())
            fail(at(key) + u": expected a text."_s);
        return failed() ? QString() : v.toString();
    }
    int integer(const QString &key, qint64 lowest = std::numeric_limits<int>::min(),
                qint64 highest = std::numeric_limits<int>::max())
    {
        return toInteger(value(key), at(key), lowest, highest);
    }
    int toInteger(const QJsonValue &v, const QString &where, qint64 lowest, qint64 highest)
    {
        if (failed())
            return 0;
        const double d = v.toDouble();
        if (!v.isDouble() || !std::isfinite(d) || std::trunc(d) != d) {
            fail(where + u": expected a whole number."_s);
            return 0;
        }
        if (d < static_cast<double>(lowest) || d > static_cast<double>(highest)) {
            fail(where +
                 u": %1 is outside %2..%3."_s.arg(QString::number(d, 'g', 17)).arg(lowest).arg(highest));
            return 0;
        }
        return static_cast<int>(d);
    }
    QJsonArray array(const QString &key)
    {
        const QJsonValue v = value(key);
        if (!failed() && !v.isArray())
            fail(at(key) + u": expected an array."_s);
        return failed() ? QJsonArray() : v.toArray();
    }
    QJsonObject object(const QString &key)
    {
        const QJsonValue v = value(key);
        if (!failed() && !v.isObject())
            fail(at(key) + u": expected an object."_s);
        return failed() ? QJsonObject() : v.toObject();
    }
    // An array of exactly `count` elements.
    QJsonArray fixedArray(const QString &key, qsizetype count, const QString &what)
    {
        const QJsonArray a = array(key);
        if (!failed() && a.size() != count)
            fail(at(key) + u": expected %1 %2, found %3."_s.arg(count).arg(what).arg(a.size()));
        return a;
    }
    std::array<int, 5> thresholds(const QString &key)
    {
        const QJsonArray a = fixedArray(key, 5, u"thresholds"_s);
        std::array<int, 5> out{};
        for (qsizetype i = 0; i < a.size() && !failed(); ++i)
            out[static_cast<size_t>(i)] =
                toInteger(a[i], at(key) + u'[' + QString::number(i) + u']', std::numeric_limits<int>::min(),
                          std::numeric_limits<int>::max());
        return out;
    }
    std::array<QString, kMaxAnswers> answers(const QString &key)
    {
        const QJsonArray a = fixedArray(key, kMaxAnswers, u"answers"_s);
        std::array<QString, kMaxAnswers> out;
        for (qsizetype i = 0; i < a.size() && !failed(); ++i) {
            if (!a[i].isString())
                fail(at(key) + u'[' + QString::number(i) + u"]: expected a text."_s);
            out[static_cast<size_t>(i)] = a[i].toString();
        }
        return out;
    }
    QJsonObject objectAt(const QJsonArray &a, qsizetype i, const QString &key)
    {
        if (!failed() && !a[i].isObject())
            fail(at(key) + u'[' + QString::number(i) + u"]: expected an object."_s);
        return failed() ? QJsonObject() : a[i].toObject();
    }

private:
    QJsonObject m_object;
    QString m_where;
    QString &m_error;
};

QString indexed(const QString &key, qsizetype i)
{
    return key + u'[' + QString::number(i) + u']';
}

void readMembers(Fields &top, QString &error, DocumentSnapshot &d, const QString &documentStem)
{
    const QJsonArray members = top.array(u"members"_s);
    QSet<QString> names;
    for (qsizetype i = 0; i < members.size() && !top.failed(); ++i) {
        Fields m(top.objectAt(members, i, u"members"_s), indexed(u"members"_s, i), error);
        m.only({u"name", u"size", u"path"});
        DocumentMember member;
        member.name = m.text(u"name"_s);
        if (m.has(u"size"_s))
            member.size = m.integer(u"size"_s, 0);
        if (m.has(u"path"_s))
            member.path = m.text(u"path"_s);
        if (m.failed())
            return;
        // A name that fills the whole field comes from a readable document: writing leaves that member
        // behind with a warning rather than refusing the rest.
        QString problem =
            TVfsPAK::fillsNameField(member.name) ? QString() : TVfsPAK::nameProblem(member.name);
        if (member.name.isEmpty())
            problem = u"empty."_s;
        else if (std::any_of(member.name.begin(), member.name.end(),
                             [](QChar c) { return c.unicode() < 32; }))
            problem = u"holds a control character."_s;
        if (!problem.isEmpty())
            return m.fail(m.at(u"name"_s) + u": "_s + problem);
        const QString folded = member.name.toCaseFolded();
        if (folded == (documentStem + u".xml"_s).toCaseFolded() ||
            folded == (documentStem + u".txp"_s).toCaseFolded())
            return m.fail(m.at(u"name"_s) + u": \""_s + member.name + u"\" is the document's own member."_s);
        if (names.contains(folded))
            return m.fail(m.at(u"name"_s) + u": \""_s + member.name +
                          u"\" is named twice (names ignore case)."_s);
        if (m.has(u"path"_s) && member.path.isEmpty())
            return m.fail(m.at(u"path"_s) + u": empty."_s);
        names.insert(folded);
        d.members.append(member);
    }
}

void readTest(Fields &top, QString &error, DocumentSnapshot &d)
{
    top.only({u"kind", u"version", u"header", u"questions", u"members"});
    Fields h(top.object(u"header"_s), u"header"_s, error);
    h.only({u"answerCount", u"multipleChoice", u"questionCount", u"time", u"testName", u"author", u"date",
            u"remarks", u"gradingOn", u"thresholds"});
    TestModel &t = d.test;
    t.resetTest();
    t.header.answerCount = h.integer(u"answerCount"_s);
    t.header.multipleChoice = h.integer(u"multipleChoice"_s);
    t.header.questionCount = h.integer(u"questionCount"_s, 0, kMaxQuestions);
    t.header.time = h.integer(u"time"_s);
    t.header.testName = h.text(u"testName"_s);
    t.header.author = h.text(u"author"_s);
    t.header.date = h.text(u"date"_s);
    t.header.remarks = h.text(u"remarks"_s);
    t.header.gradingOn = h.integer(u"gradingOn"_s);
    t.header.thresholds = h.thresholds(u"thresholds"_s);

    const QJsonArray questions = top.array(u"questions"_s);
    if (!top.failed() && questions.size() != t.header.questionCount)
        top.fail(
            u"questions: header.questionCount is %1 but there are %2 questions."_s.arg(t.header.questionCount)
                .arg(questions.size()));
    for (qsizetype i = 0; i < questions.size() && !top.failed(); ++i) {
        Fields f(top.objectAt(questions, i, u"questions"_s), indexed(u"questions"_s, i), error);
        f.only({u"text", u"answers", u"correct", u"imageName", u"textName", u"comment"});
        Question &q = t.question(static_cast<int>(i) + 1);
        q.text = f.text(u"text"_s);
        q.answers = f.answers(u"answers"_s);
        q.correct = f.text(u"correct"_s);
        q.imageName = f.text(u"imageName"_s);
        q.textName = f.text(u"textName"_s);
        q.comment = f.text(u"comment"_s);
        q.unfinished = 0;
    }
    readMembers(top, error, d, documentMemberStem(DocumentKind::Test));
}

void readQuestion(Fields &top, QString &error, DocumentSnapshot &d)
{
    top.only({u"kind", u"version", u"question", u"members"});
    Fields f(top.object(u"question"_s), u"question"_s, error);
    f.only({u"storedName", u"multipleChoice", u"answerCount", u"text", u"answers", u"correct", u"imageName",
            u"textName", u"comment", u"savedAt"});
    SingleQuestion &q = d.question;
    q.storedName = f.text(u"storedName"_s);
    q.multipleChoice = f.integer(u"multipleChoice"_s);
    q.answerCount = f.integer(u"answerCount"_s);
    q.text = f.text(u"text"_s);
    q.answers = f.answers(u"answers"_s);
    q.correct = f.text(u"correct"_s);
    q.imageName = f.text(u"imageName"_s);
    q.textName = f.text(u"textName"_s);
    q.comment = f.text(u"comment"_s);
    q.savedAt = f.text(u"savedAt"_s);
    readMembers(top, error, d, documentMemberStem(DocumentKind::Question));
}

void readEntryList(Fields &top, DocumentSnapshot &d)
{
    top.only({u"kind", u"version", u"author", u"date", u"remarks", u"entries"});
    d.listInfo.author = top.text(u"author"_s);
    d.listInfo.date = top.text(u"date"_s);
    d.listInfo.remarks = top.text(u"remarks"_s);
    const QJsonArray entries = top.array(u"entries"_s);
    for (qsizetype i = 0; i < entries.size() && !top.failed(); ++i) {
        if (!entries[i].isString())
            top.fail(indexed(u"entries"_s, i) + u": expected a text."_s);
        d.entries.append(entries[i].toString());
    }
}

void readStudents(Fields &top, QString &error, DocumentSnapshot &d)
{
    top.only({u"kind", u"version", u"author", u"date", u"remarks", u"totalStudents", u"classes"});
    StudentList &l = d.students;
    l.reset();
    l.author = top.text(u"author"_s);
    l.date = top.text(u"date"_s);
    l.remarks = top.text(u"remarks"_s);
    const int total = top.integer(u"totalStudents"_s, 0);
    const QJsonArray classes = top.array(u"classes"_s);
    for (qsizetype c = 0; c < classes.size() && !top.failed(); ++c) {
        const QString where = indexed(u"classes"_s, c);
        Fields f(top.objectAt(classes, c, u"classes"_s), where, error);
        f.only({u"name", u"resultsFolder", u"time", u"gradingOn", u"thresholds", u"students"});
        SchoolClass sc;
        sc.name = f.text(u"name"_s);
        sc.resultsFolder = f.text(u"resultsFolder"_s);
        sc.time = f.integer(u"time"_s);
        sc.gradingOn = f.integer(u"gradingOn"_s);
        sc.thresholds = f.thresholds(u"thresholds"_s);
        const QJsonArray students = f.array(u"students"_s);
        for (qsizetype s = 0; s < students.size() && !f.failed(); ++s) {
            Fields p(f.objectAt(students, s, u"students"_s), where + u'.' + indexed(u"students"_s, s), error);
            p.only({u"firstName", u"surname"});
            const QString firstName = p.text(u"firstName"_s);
            const QString surname = p.text(u"surname"_s);
            sc.students.append({firstName, surname});
        }
        l.classes.append(std::move(sc));
    }
    if (!top.failed() && total != l.totalStudents())
        top.fail(u"totalStudents: %1, but the classes hold %2 students."_s.arg(total).arg(l.totalStudents()));
}

bool isKeyName(const QString &key)
{
    if (key.isEmpty() || key.size() > 64)
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        const bool other = (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
        if (!letter && (i == 0 || !other))
            return false;
    }
    return true;
}

// The keys of the kind in their file order first, then any others; only what its reader will accept.
void readSettings(Fields &top, DocumentSnapshot &d)
{
    top.only({u"kind", u"values"});
    const QJsonObject values = top.object(u"values"_s);
    if (top.failed())
        return;
    QSet<QString> folded;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString where = u"values."_s + it.key();
        if (!isKeyName(it.key()))
            return top.fail(
                u"values: \"%1\" is no key name (letters, digits, \"_\", \"-\", \".\"; at most 64)."_s.arg(
                    it.key()));
        if (folded.contains(it.key().toCaseFolded()))
            return top.fail(u"values: \"%1\" is given twice (keys ignore case)."_s.arg(it.key()));
        folded.insert(it.key().toCaseFolded());
        if (!it.value().isString())
            return top.fail(where + u": expected a text."_s);
        const QString text = it.value().toString();
        const QByteArray bytes = Cp1250::fromUnicode(text);
        if (Cp1250::toUnicode(bytes) != text)
            return top.fail(where + u": holds a character Windows-1250 does not have."_s);
        if (bytes.size() > kMaxSettingBytes)
            return top.fail(
                where + u": longer than %1 characters, which the file cannot hold."_s.arg(kMaxSettingBytes));
    }

    const QString header = settingsHeader(d.kind);
    if (values.value(u"ed"_s).toString() != header)
        return top.fail(
            u"values.ed: a %1 file has the header \"%2\"."_s.arg(documentKindName(d.kind), header));
    QSet<QString> known;
    for (const SettingKey &k : settingKeys(d.kind)) {
        known.insert(k.key);
        const QString where = u"values."_s + k.key;
        if (!values.contains(k.key)) {
            if (k.type != SettingType::Integer)
                return top.fail(
                    u"values: \"%1\" is missing; the file would not read without it."_s.arg(k.key));
            continue;
        }
        const QString text = values.value(k.key).toString();
        if (k.type == SettingType::Thresholds && !ParseThresholdText(text))
            return top.fail(where + u": expected ten digits, two for each threshold."_s);
        d.settings.append({k.key, text});
    }
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!known.contains(it.key()))
            d.settings.append({it.key(), it.value().toString()});
    }
}

} // namespace

namespace DocumentJson {

QByteArray toJson(const DocumentSnapshot &d)
{
    QJsonObject object;
    switch (d.kind) {
    case DocumentKind::Test:
        object = testJson(d);
        break;
    case DocumentKind::Question:
        object = questionJson(d);
        break;
    case DocumentKind::TestList:
    case DocumentKind::SetList:
        object = listJson(d);
        break;
    case DocumentKind::StudentList:
        object = studentsJson(d);
        break;
    case DocumentKind::EditorSettings:
    case DocumentKind::TestModuleSettings:
    case DocumentKind::LearningModuleSettings:
        return settingsJson(d);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<DocumentSnapshot> fromJson(QByteArrayView json, QString *error)
{
    QString problem;
    const auto failed = [&] {
        if (error)
            *error = problem;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        problem = u"not valid JSON (%1 at byte %2)."_s.arg(parseError.errorString()).arg(parseError.offset);
        return failed();
    }
    if (!parsed.isObject()) {
        problem = u"expected a JSON object."_s;
        return failed();
    }

    Fields top(parsed.object(), {}, problem);
    const QString kindName = top.text(u"kind"_s);
    const std::optional<DocumentKind> kind = documentKindFromName(kindName);
    if (!top.failed() && !kind)
        top.fail(u"kind: \"%1\" is none of test, question, testList, setList, studentList, editorSettings, "
                 u"testModuleSettings, learningModuleSettings."_s.arg(kindName));
    if (top.failed())
        return failed();

    DocumentSnapshot d;
    d.kind = *kind;
    if (!isSettingsKind(d.kind)) {
        d.version = top.integer(u"version"_s);
        if (!top.failed() && d.version != 40 && d.version != 35)
            top.fail(u"version: %1 is neither 40 nor 35."_s.arg(d.version));
    }
    switch (d.kind) {
    case DocumentKind::Test:
        readTest(top, problem, d);
        break;
    case DocumentKind::Question:
        readQuestion(top, problem, d);
        break;
    case DocumentKind::TestList:
    case DocumentKind::SetList:
        readEntryList(top, d);
        break;
    case DocumentKind::StudentList:
        readStudents(top, problem, d);
        break;
    case DocumentKind::EditorSettings:
    case DocumentKind::TestModuleSettings:
    case DocumentKind::LearningModuleSettings:
        readSettings(top, d);
        break;
    }
    if (top.failed())
        return failed();
    return d;
}

} // namespace DocumentJson
