#include "DocumentCommands.h"

#include "CommandLineTool.h"
#include "DocumentJson.h"
#include "DocumentLoading.h"
#include "DocumentSaving.h"
#include "ToolWorkspace.h"
#include "app/TextHelpers.h"
#include "test/SetGeneration.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A JSON document larger than this is refused before it is read.
constexpr qint64 kMaxJsonBytes = 64 * 1024 * 1024;

struct DocumentCommand {
    QString name;
    QString arguments; // as shown in the usage text
    QString summary;
    QString details; // more lines for "--help"
    int argumentCount;
    int (*run)(CommandLineTool &tool, const QStringList &arguments, const QString &usage);
};

void warn(CommandLineTool &tool, const QString &file, const QString &problem)
{
    tool.out().flush();
    tool.err() << u"zadanix: warning: "_s << file << u": "_s << problem << u'\n';
    tool.err().flush();
}

int exportDocument(CommandLineTool &tool, const QStringList &args, const QString &)
{
    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const LoadedDocument loaded = loadDocument(tw, args[0]);
    if (!loaded.read)
        return tool.fail(args[0] + u": "_s + loaded.problem);
    if (!loaded.problem.isEmpty())
        warn(tool, args[0], loaded.problem);
    if (!tool.writeBinary(DocumentJson::toJson(loaded.document)))
        return tool.fail(u"cannot write to standard output."_s);
    return CommandLineTool::Success;
}

// The JSON text from a file, or from standard input for "-"; no value (and `problem` set) when it
// cannot be read or is too large.
std::optional<QByteArray> readJson(const QString &name, QString &problem)
{
    QFile file;
    const bool fromStdin = name == u"-"_s;
    if (fromStdin) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            problem = u"cannot read standard input."_s;
            return std::nullopt;
        }
    } else {
        file.setFileName(name);
        if (!QFileInfo(name).isFile()) {
            problem = u"no such file."_s;
            return std::nullopt;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            problem = file.errorString();
            return std::nullopt;
        }
    }
    const QByteArray bytes = file.read(kMaxJsonBytes + 1);
    if (bytes.size() > kMaxJsonBytes) {
        problem = u"larger than %1 MB; no document needs that much."_s.arg(kMaxJsonBytes / (1024 * 1024));
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        problem = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

int importDocument(CommandLineTool &tool, const QStringList &args, const QString &)
{
    const QString &jsonName = args[0];
    const QString &target = args[1];
    QString problem;
    const std::optional<QByteArray> json = readJson(jsonName, problem);
    if (!json)
        return tool.fail(jsonName + u": "_s + problem);
    const std::optional<DocumentSnapshot> document = DocumentJson::fromJson(*json, &problem);
    if (!document)
        return tool.fail(jsonName + u": "_s + problem);

    // The program opens documents by their extension, so the name must fit the kind.
    const QString extension = documentExtension(document->kind);
    if (!target.endsWith(extension, Qt::CaseInsensitive))
        return tool.fail(target + u": a "_s + documentKindName(document->kind) + u" is written to a "_s +
                         extension + u" file."_s);

    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const QString memberFolder =
        jsonName == u"-"_s ? QDir::currentPath() : QFileInfo(jsonName).absolutePath();
    if (!saveDocument(tw, *document, target, memberFolder, &problem))
        return tool.fail(target + u": "_s + problem);
    return CommandLineTool::Success;
}

int generateSet(CommandLineTool &tool, const QStringList &args, const QString &usage)
{
    SetGeneration generation;
    generation.sourceTest = args[0];
    generation.targetFolder = args[1];
    generation.prefix = args[2];
    if (!SetGeneration::isValidPrefix(generation.prefix))
        return tool.wrongUsage(u"the prefix may hold only the letters A-Z and a-z, the digits and \"_\"."_s,
                               usage);
    if (!QFileInfo(generation.sourceTest).isFile())
        return tool.fail(generation.sourceTest + u": no such file."_s);
    if (!QFileInfo(generation.targetFolder).isDir())
        return tool.fail(generation.targetFolder + u": no such folder."_s);

    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    tw.startCollecting();
    const SetGeneration::Result result = generation.generate(tw.ws());
    const ToolWorkspace::Reports reports = tw.takeReports();
    const QString why = reports.isEmpty() ? u"cannot be read."_s : reports.oneLine();
    if (!result.testRead)
        return tool.fail(generation.sourceTest + u": "_s + why);

    tool.out() << result.written << (result.written == 1 ? u" question file"_s : u" question files"_s)
               << u" written to "_s << QDir::toNativeSeparators(generation.targetFolder) << u".\n"_s;
    if (result.failedQuestion > 0) {
        const QString failed = SetGeneration::questionFilePath(generation.targetFolder, generation.prefix,
                                                               result.failedQuestion);
        return tool.fail(failed + u": "_s + why);
    }
    if (!reports.isEmpty())
        warn(tool, generation.sourceTest, reports.oneLine());
    return CommandLineTool::Success;
}

int checkDocument(CommandLineTool &tool, const QStringList &args, const QString &)
{
    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const LoadedDocument loaded = loadDocument(tw, args[0]);
    if (!loaded.isClean())
        return tool.fail(args[0] + u": "_s + loaded.problem);
    const DocumentSnapshot &d = loaded.document;
    tool.out() << args[0] << u": reads cleanly ("_s << documentKindName(d.kind);
    if (!isSettingsKind(d.kind))
        tool.out() << u", version "_s << d.version;
    tool.out() << u").\n"_s;
    return CommandLineTool::Success;
}

// Summary lines: a label, then its value.
class Summary {
public:
    explicit Summary(QTextStream &out) : m_out(out) {}
    void line(const QString &label, const QString &value)
    {
        m_out << (label + u':').leftJustified(14) << u' ' << value << u'\n';
    }
    void item(const QString &text) { m_out << u"  "_s << text << u'\n'; }

private:
    QTextStream &m_out;
};

QString thresholdsText(const std::array<int, 5> &t)
{
    QStringList parts;
    for (int v : t)
        parts << QString::number(v);
    return parts.join(u' ');
}

QString choiceText(int multipleChoice)
{
    return multipleChoice != 0 ? u"multiple choice"_s : u"single choice"_s;
}

void showMembers(Summary &s, const QList<DocumentMember> &members)
{
    qint64 bytes = 0;
    for (const DocumentMember &m : members)
        bytes += m.size;
    s.line(u"Attachments"_s, u"%1 (%2 bytes)"_s.arg(members.size()).arg(bytes));
    for (const DocumentMember &m : members)
        s.item(u"%1  %2 bytes"_s.arg(m.name).arg(m.size));
}

int showDocument(CommandLineTool &tool, const QStringList &args, const QString &)
{
    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const LoadedDocument loaded = loadDocument(tw, args[0]);
    if (!loaded.read)
        return tool.fail(args[0] + u": "_s + loaded.problem);
    if (!loaded.problem.isEmpty())
        warn(tool, args[0], loaded.problem);

    const DocumentSnapshot &d = loaded.document;
    Summary s(tool.out());
    s.line(u"File"_s, args[0]);
    s.line(u"Kind"_s, isSettingsKind(d.kind)
                          ? documentKindName(d.kind)
                          : documentKindName(d.kind) + u", version "_s + QString::number(d.version));
    switch (d.kind) {
    case DocumentKind::Test: {
        const TestHeader &h = d.test.header;
        s.line(u"Title"_s, h.testName);
        s.line(u"Author"_s, h.author);
        s.line(u"Date"_s, h.date);
        s.line(u"Questions"_s, u"%1, %2 answers each, %3"_s.arg(h.questionCount)
                                   .arg(h.answerCount)
                                   .arg(choiceText(h.multipleChoice)));
        s.line(u"Time"_s, QString::number(h.time));
        s.line(u"Grading scale"_s, h.gradingOn != 0 ? thresholdsText(h.thresholds) : u"off"_s);
        showMembers(s, d.members);
        break;
    }
    case DocumentKind::Question: {
        const SingleQuestion &q = d.question;
        // Shortened at a blank or full stop, or cut when a long first word leaves none.
        const QString text = normaliseText(q.text);
        const QString shortened = shortenText(text);
        s.line(u"Question"_s, shortened.isEmpty() ? text.left(70) : shortened);
        s.line(u"Answers"_s,
               u"%1, %2, correct %3"_s.arg(q.answerCount).arg(choiceText(q.multipleChoice), q.correct));
        s.line(u"Saved"_s, q.savedAt);
        showMembers(s, d.members);
        break;
    }
    case DocumentKind::TestList:
    case DocumentKind::SetList:
        s.line(u"Author"_s, d.listInfo.author);
        s.line(u"Date"_s, d.listInfo.date);
        s.line(u"Entries"_s, QString::number(d.entries.size()));
        break;
    case DocumentKind::StudentList:
        s.line(u"Author"_s, d.students.author);
        s.line(u"Date"_s, d.students.date);
        s.line(u"Classes"_s, QString::number(d.students.classCount()));
        s.line(u"Students"_s, QString::number(d.students.totalStudents()));
        for (const SchoolClass &c : d.students.classes)
            s.item(u"%1: %2 students"_s.arg(c.name).arg(c.students.size()));
        break;
    case DocumentKind::EditorSettings:
    case DocumentKind::TestModuleSettings:
    case DocumentKind::LearningModuleSettings:
        s.line(u"Values"_s, QString::number(d.settings.size()));
        for (const SettingValue &v : d.settings)
            s.item(v.key + u" = "_s + v.value);
        break;
    }
    return CommandLineTool::Success;
}

const QList<DocumentCommand> &commands()
{
    static const QString kinds =
        u"Documents are known by their extension (ignoring case): .skt test, .skq question, "
        u".skg test list, .skz question-set list, .sku student list; .ini settings files "
        u"by their header (Edytor, Tester, Nauka).\n"_s;
    static const QList<DocumentCommand> list = {
        {u"export"_s, u"FILE"_s, u"write the document as JSON to standard output"_s, kinds, 1,
         exportDocument},
        {u"import"_s, u"JSON OUT"_s, u"write the document a JSON file (\"-\": standard input) describes"_s,
         u"The JSON has the form \"export\" writes. Attachments are read from the files named by "
         u"\"members\": [{\"name\": ..., \"path\": ...}] (relative paths from the JSON file's folder); a "
         u"member "
         u"without a path is left out. OUT's extension must fit the kind.\n"_s,
         2, importDocument},
        {u"generate"_s, u"TEST.skt FOLDER PREFIX"_s,
         u"write each question of the test as FOLDER/PREFIXn.skq"_s,
         u"The prefix holds the letters A-Z and a-z, the digits and \"_\". Files of the same names are "
         u"replaced.\n"_s,
         3, generateSet},
        {u"check"_s, u"FILE"_s, u"exit 0 when the document reads cleanly, 1 with the reason otherwise"_s,
         kinds, 1, checkDocument},
        {u"show"_s, u"FILE"_s, u"a short summary: title, author, counts, attachments"_s, kinds, 1,
         showDocument},
    };
    return list;
}

int runCommand(const DocumentCommand &command, CommandLineTool &tool, const QStringList &arguments)
{
    const QString usage =
        u"Usage: zadanix "_s + command.name + u' ' + command.arguments + u"\n  "_s + command.summary +
        u"\n\n"_s + command.details +
        u"Exit status: 0 done, 1 a document missing, damaged or not written, 2 wrong usage.\n"_s;
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    parser.addOption(help);
    if (!parser.parse(QStringList{u"zadanix "_s + command.name} + arguments))
        return tool.wrongUsage(parser.errorText(), usage);
    if (parser.isSet(help)) {
        tool.out() << usage;
        return CommandLineTool::Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != command.argumentCount)
        return tool.wrongUsage(u"wrong number of arguments for \""_s + command.name + u"\"."_s, usage);
    return command.run(tool, args, usage);
}

} // namespace

void addDocumentCommands(CommandLineTool &tool)
{
    for (const DocumentCommand &command : commands()) {
        tool.addCommand(
            {command.name, command.summary, [&command](CommandLineTool &t, const QStringList &arguments) {
                 return runCommand(command, t, arguments);
             }});
    }
}
