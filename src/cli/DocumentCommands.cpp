#include "DocumentCommands.h"

#include "CommandLineTool.h"
#include "DocumentJson.h"
#include "DocumentLoading.h"
#include "DocumentSaving.h"
#include "InterchangeCommands.h"
#include "PrintCommand.h"
#include "ToolWorkspace.h"
#include "core/TextHelpers.h"
#include "print/TestPrinter.h"
#include "storage/AtomicFile.h"
#include "storage/TVfsPAK.h"
#include "testeditor/SetGeneration.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A JSON document larger than this is refused before it is read.
constexpr qint64 kMaxJsonBytes = 64 * 1024 * 1024;

// What a command gets besides its positional arguments.
struct CommandOptions {
    QString usage;
    QString membersFolder; // export --members DIR
    std::optional<InterchangeFormat> format; // --format: questions in an interchange format, not JSON
    bool split = false;                      // import --split
};

struct DocumentCommand {
    QString name;
    QString arguments; // as shown in the usage text
    QString summary;
    QString details; // more lines for "--help"
    int argumentCount;
    int (*run)(CommandLineTool &tool, const QStringList &arguments, const CommandOptions &options);
    bool takesMembersFolder = false;
    bool takesFormat = false;
};

void warn(CommandLineTool &tool, const QString &file, const QString &problem)
{
    tool.out().flush();
    tool.err() << u"zadanix: warning: "_s << file << u": "_s << problem << u'\n';
    tool.err().flush();
}

// A member name that is safe as a file name inside the members folder: no folder part, no "." or "..",
// no control characters.
bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == u"."_s || name == u".."_s || name.contains(u'/') || name.contains(u'\\'))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 32; });
}

// Writes every attachment into `folder` and gives each member its file's absolute path, so that
// importing the JSON puts the same attachments back. A member whose name is not a plain file name is
// left without a path, with a warning.
bool extractMembers(CommandLineTool &tool, const QString &document, const QString &folder,
                    QList<DocumentMember> &members, QString &problem)
{
    if (members.isEmpty())
        return true;
    if (!QDir().mkpath(folder)) {
        problem = folder + u": cannot create the folder."_s;
        return false;
    }
    TVfsPAK pak;
    if (!pak.Open(document, TVfsPAK::Mode::ReadOnly)) {
        problem = document + u": "_s + pak.errorString();
        return false;
    }
    const QList<TVfsPAK::Entry> &entries = pak.entries();
    for (DocumentMember &m : members) {
        if (!isPlainFileName(m.name)) {
            warn(tool, document, u"member \""_s + m.name + u"\" is not a plain file name; not extracted."_s);
            continue;
        }
        // The readers keep the last of two members whose names differ only in case.
        int index = -1;
        for (int i = 0; i < entries.size(); ++i) {
            if (entries[i].name.compare(m.name, Qt::CaseInsensitive) == 0)
                index = i;
        }
        const std::optional<QByteArray> bytes = index < 0 ? std::nullopt : pak.extractAt(index);
        if (!bytes) {
            problem = document + u": member \""_s + m.name + u"\" cannot be read."_s;
            return false;
        }
        const QString path = QDir(folder).absoluteFilePath(m.name);
        if (!AtomicFile::write(path, *bytes, &problem))
            return false;
        m.path = path;
    }
    return true;
}

int exportDocument(CommandLineTool &tool, const QStringList &args, const CommandOptions &options)
{
    if (options.format == InterchangeFormat::Odt) {
        // The test as the print makes it, with its key, for a word processor.
        if (args.size() != 2)
            return tool.wrongUsage(u"--format odt needs TEST.skt and OUT.odt."_s, options.usage);
        PrintOptions print;
        print.key = PrintOptions::Key::AfterTest;
        return printTestTo(tool, args[0], args[1], print);
    }
    if (options.format == InterchangeFormat::Docx)
        return tool.wrongUsage(
            u".docx is read, not written; --format odt writes a document Word and Writer open."_s,
            options.usage);
    if (options.format)
        return InterchangeCommands::exportQuestions(tool, args, *options.format);
    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    LoadedDocument loaded = loadDocument(tw, args[0]);
    if (!loaded.read)
        return tool.fail(args[0] + u": "_s + loaded.problem);
    if (!loaded.problem.isEmpty())
        warn(tool, args[0], loaded.problem);
    QString problem;
    if (!options.membersFolder.isEmpty() &&
        !extractMembers(tool, args[0], options.membersFolder, loaded.document.members, problem))
        return tool.fail(problem);
    if (!tool.writeBinary(DocumentJson::toJson(loaded.document)))
        return tool.fail(u"cannot write to standard output."_s);
    return CommandLineTool::Success;
}

// The JSON text from a file (or a pipe), or from standard input for "-"; no value (and `problem` set)
// when it cannot be read or is too large.
std::optional<QByteArray> readJson(const QString &name, QString &problem)
{
    QFile file;
    if (name == u"-"_s) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            problem = u"cannot read standard input."_s;
            return std::nullopt;
        }
    } else {
        const QFileInfo info(name);
        if (!info.exists() || info.isDir()) {
            problem = info.isDir() ? u"is a folder."_s : u"no such file."_s;
            return std::nullopt;
        }
        file.setFileName(name);
        if (!file.open(QIODevice::ReadOnly)) {
            problem = file.errorString();
            return std::nullopt;
        }
    }
    // A pipe hands over only what has arrived so far: read until its end.
    QByteArray bytes;
    while (bytes.size() <= kMaxJsonBytes) {
        const QByteArray chunk = file.read(std::min<qint64>(1 << 20, kMaxJsonBytes + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
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

// The attachment names the questions of a test or question hold, in order; empty ones too.
QStringList attachmentNames(const DocumentSnapshot &d)
{
    QStringList named;
    if (d.kind == DocumentKind::Test) {
        for (int k = 1; k <= std::clamp(d.test.header.questionCount, 0, kMaxQuestions); ++k)
            named << d.test.question(k).imageName << d.test.question(k).textName;
    } else if (d.kind == DocumentKind::Question) {
        named << d.question.imageName << d.question.textName;
    }
    return named;
}

// The attachments the questions of a test or question name but the JSON does not list, each once (a
// listed member without a path has a warning of its own).
QStringList missingAttachments(const DocumentSnapshot &d)
{
    const QStringList named = attachmentNames(d);
    QSet<QString> listed;
    for (const DocumentMember &m : d.members)
        listed.insert(m.name.toCaseFolded());
    QStringList missing;
    for (const QString &name : std::as_const(named)) {
        if (!name.isEmpty() && !listed.contains(name.toCaseFolded()) &&
            !missing.contains(name, Qt::CaseInsensitive))
            missing << name;
    }
    return missing;
}

int importDocument(CommandLineTool &tool, const QStringList &args, const CommandOptions &options)
{
    if (options.format)
        return InterchangeCommands::importQuestions(tool, args, *options.format, options.split);
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
    // Written all the same, but a teacher opening it would miss these.
    QSet<QString> named;
    for (const QString &name : attachmentNames(*document))
        named.insert(name.toCaseFolded());
    for (const DocumentMember &m : document->members) {
        if (m.path.isEmpty())
            warn(tool, jsonName, u"member \""_s + m.name + u"\" has no \"path\"; left out."_s);
        else if (TVfsPAK::fillsNameField(m.name))
            warn(tool, jsonName,
                 u"member \""_s + m.name +
                     u"\": its name fills all 120 bytes, which cannot be written; left out."_s);
        // The document keeps only the attachments its questions name.
        else if (!named.contains(m.name.toCaseFolded()))
            warn(tool, jsonName, u"member \""_s + m.name + u"\" is named by no question; left out."_s);
    }
    for (const QString &name : missingAttachments(*document))
        warn(tool, jsonName, u"the questions name \""_s + name + u"\", which is not among the members."_s);
    return CommandLineTool::Success;
}

int generateSet(CommandLineTool &tool, const QStringList &args, const CommandOptions &options)
{
    SetGeneration generation;
    generation.sourceTest = args[0];
    generation.targetFolder = args[1];
    generation.prefix = args[2];
    if (!SetGeneration::isValidPrefix(generation.prefix))
        return tool.wrongUsage(u"the prefix may hold only the letters A-Z and a-z, the digits and \"_\"."_s,
                               options.usage);
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

int checkDocument(CommandLineTool &tool, const QStringList &args, const CommandOptions &)
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
        s.item(m.name + u"  "_s + QString::number(m.size) + u" bytes"_s);
}

int showDocument(CommandLineTool &tool, const QStringList &args, const CommandOptions &)
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
            s.item(c.name + u": "_s + QString::number(c.students.size()) +
                   (c.students.size() == 1 ? u" student"_s : u" students"_s));
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
        {u"export"_s,
         u"[--members DIR] FILE | --format moodle|gift|aiken FILE [OUT] | --format odt TEST.skt OUT.odt"_s,
         u"write the document as JSON, its questions as Moodle XML, GIFT or Aiken, or a test as an editable "
         u"document"_s,
         kinds +
             u"--members DIR writes the attachments of a test or question into DIR and gives each "
             u"member the \"path\" of its file, so that \"import\" puts them back.\n"
             u"--format writes the questions of a test or question to OUT (or standard output) for a "
             u"learning platform: Moodle XML with pictures, passages and comments; GIFT without "
             u"pictures and passages; Aiken with single-choice questions only. What a format cannot "
             u"carry is named in a warning on standard error.\n"
             u"--format odt writes the test as an OpenDocument text that Word and Writer open and edit: "
             u"the numbered questions with lettered answers, pictures and passages, and the answer key on "
             u"a page of its own (\"zadanix print\" to a .odt gives the versions).\n"_s,
         1, exportDocument, true, true},
        {u"import"_s, u"JSON OUT | --format moodle|gift|aiken|docx|odt [--split] IN OUT"_s,
         u"write the document a JSON file (\"-\": standard input) describes, or the questions of a Moodle "
         u"XML, GIFT or Aiken file or of a Word (.docx) or Writer (.odt) document as a test"_s,
         u"The JSON has the form \"export\" writes. Attachments are read from the files named by "
         u"\"members\": [{\"name\": ..., \"path\": ...}] (relative paths from the JSON file's folder); a "
         u"member "
         u"without a path, or whose name fills all 120 bytes a document can hold, is left out with a "
         u"warning. OUT's extension must fit the kind.\n"
         u"--format reads the multiple-choice questions of IN into the test OUT (.skt): the first question "
         u"sets the answer count and choice type, and questions that differ, questions of other kinds and "
         u"those beyond 45 are skipped, each with a warning on standard error. --split writes every "
         u"question as a question file of its own into the folder OUT instead (INn.skq).\n"
         u"A .docx or .odt (told apart by content) is read as teachers write tests: questions numbered by "
         u"hand (\"1.\", \"Zadanie 1.\") or automatically, answers lettered (\"a)\", \"A.\") or one list "
         u"level down, the right answer bold, underlined, highlighted, coloured or starred, on an "
         u"\"Odpowiedź: B\" line or in an answer key at the end; the document's title names the test.\n"_s,
         2, importDocument, false, true},
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
        u"Exit status: 0 done, 1 a document missing, damaged or not written (with --format: nothing "
        u"written), 2 wrong usage.\n"_s;
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption members(u"members"_s, u"Folder for the attachments."_s, u"DIR"_s);
    parser.addOption(help);
    const QCommandLineOption format(u"format"_s, u"moodle, gift, aiken, docx or odt."_s, u"FORMAT"_s);
    const QCommandLineOption split(u"split"_s, u"One question file per question."_s);
    if (command.takesMembersFolder)
        parser.addOption(members);
    if (command.takesFormat) {
        parser.addOption(format);
        if (!command.takesMembersFolder)
            parser.addOption(split);
    }
    if (!parser.parse(QStringList{u"zadanix "_s + command.name} + arguments))
        return tool.wrongUsage(parser.errorText(), usage);
    if (parser.isSet(help)) {
        tool.out() << usage;
        return CommandLineTool::Success;
    }
    const QStringList args = parser.positionalArguments();
    CommandOptions options{usage, {}, {}, false};
    if (command.takesFormat && parser.isSet(format)) {
        options.format = Interchange::formatFromName(parser.value(format));
        if (!options.format)
            return tool.wrongUsage(u"--format is moodle, gift, aiken, docx or odt."_s, usage);
        if (command.takesMembersFolder && parser.isSet(members))
            return tool.wrongUsage(u"--members and --format do not go together."_s, usage);
    }
    options.split = command.takesFormat && !command.takesMembersFolder && parser.isSet(split);
    if (options.split && !options.format)
        return tool.wrongUsage(u"--split needs --format."_s, usage);
    // An export to a format may name its output file (and to a document must).
    const bool optionalOutput = options.format && command.takesMembersFolder;
    if (args.size() != command.argumentCount && !(optionalOutput && args.size() == command.argumentCount + 1))
        return tool.wrongUsage(u"wrong number of arguments for \""_s + command.name + u"\"."_s, usage);
    if (command.takesMembersFolder && parser.isSet(members)) {
        options.membersFolder = parser.value(members);
        if (options.membersFolder.isEmpty())
            return tool.wrongUsage(u"--members needs a folder."_s, usage);
    }
    return command.run(tool, args, options);
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
