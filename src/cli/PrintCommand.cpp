#include "PrintCommand.h"

#include "CommandLineTool.h"
#include "DocumentLoading.h"
#include "ToolWorkspace.h"
#include "print/SheetPrinter.h"
#include "print/TestPrinter.h"
#include "storage/AtomicFile.h"
#include "storage/TVfsPAK.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString usageText =
    u"Usage: zadanix print TEST.skt OUT.pdf|OUT.odt [--key | --key-only] [--versions N] [--seed S]\n"
    u"                     [--sheets [--students LIST.sku --class NAME] [--layout LAYOUT.json]]\n"
    u"  print the test to PDF: A4 pages for the students, and the answer key; to OUT.odt the same as\n"
    u"  a document a word processor edits\n\n"
    u"--versions N  N versions (1 to 26), each with its own order of questions and answers\n"
    u"--seed S      the number the shuffling starts from (0 to 4294967295); the same seed gives the\n"
    u"              same versions. Without it one is drawn and shown in the key and on standard output.\n"
    u"              A seed with one version shuffles that version.\n"
    u"--key         the answer key of every version after the test\n"
    u"--key-only    only the key\n"
    u"--sheets      answer sheets to be read back by \"zadanix grade\": each version's booklet followed\n"
    u"              by a blank sheet of that version, or with --students and --class one booklet per\n"
    u"              pupil (versions dealt in turn) followed by the pupil's named sheet\n"
    u"--students LIST.sku  the student list the class is taken from\n"
    u"--class NAME  the class whose pupils get named sheets\n"
    u"--layout LAYOUT.json  where every box of every sheet is, in PDF points from the page's top left\n\n"
    u"Pictures and texts that cannot be read are printed as a note, with a warning.\n"
    u"OUT is written whole or not at all.\n"
    u"Exit status: 0 done, 1 a document missing, damaged or not written, 2 wrong usage.\n"_s;

void warn(CommandLineTool &tool, const QString &file, const QString &problem)
{
    tool.out().flush();
    tool.err() << u"zadanix: warning: "_s << file << u": "_s << problem << u'\n';
    tool.err().flush();
}

QString problemText(const AttachmentProblem &p)
{
    const QString what = p.picture ? u"picture"_s : u"text"_s;
    const QString why =
        p.reason.isEmpty() ? u"is not in the file"_s : u"cannot be read ("_s + p.reason + u')';
    return u"question %1: the %2 \"%3\" %4; printed as a note."_s.arg(p.question).arg(what, p.name, why);
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

int printTest(CommandLineTool &tool, const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption key(u"key"_s, u"The key after the test."_s);
    const QCommandLineOption keyOnly(u"key-only"_s, u"Only the key."_s);
    const QCommandLineOption versions(u"versions"_s, u"Number of versions."_s, u"N"_s);
    const QCommandLineOption seed(u"seed"_s, u"Seed of the shuffling."_s, u"S"_s);
    const QCommandLineOption sheets(u"sheets"_s, u"Answer sheets."_s);
    const QCommandLineOption students(u"students"_s, u"Student list."_s, u"LIST"_s);
    const QCommandLineOption className(u"class"_s, u"Class."_s, u"NAME"_s);
    const QCommandLineOption layout(u"layout"_s, u"Layout file."_s, u"LAYOUT"_s);
    parser.addOptions({help, key, keyOnly, versions, seed, sheets, students, className, layout});
    if (!parser.parse(QStringList{u"zadanix print"_s} + arguments))
        return tool.wrongUsage(parser.errorText(), usageText);
    if (parser.isSet(help)) {
        tool.out() << usageText;
        return CommandLineTool::Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return tool.wrongUsage(u"wrong number of arguments for \"print\"."_s, usageText);
    if (parser.isSet(key) && parser.isSet(keyOnly))
        return tool.wrongUsage(u"--key and --key-only exclude each other."_s, usageText);
    const bool withSheets = parser.isSet(sheets);
    if (!withSheets && (parser.isSet(students) || parser.isSet(className) || parser.isSet(layout)))
        return tool.wrongUsage(u"--students, --class and --layout go with --sheets."_s, usageText);
    if (withSheets && parser.isSet(keyOnly))
        return tool.wrongUsage(u"--sheets and --key-only exclude each other."_s, usageText);
    if (parser.isSet(students) != parser.isSet(className))
        return tool.wrongUsage(u"--students and --class go together."_s, usageText);

    PrintOptions options;
    options.key = parser.isSet(keyOnly) ? PrintOptions::Key::Only
                  : parser.isSet(key)   ? PrintOptions::Key::AfterTest
                                        : PrintOptions::Key::None;
    if (parser.isSet(versions)) {
        bool ok = false;
        options.versions = parser.value(versions).toInt(&ok);
        if (!ok || options.versions < 1 || options.versions > kMaxPrintVersions)
            return tool.wrongUsage(u"--versions takes a number from 1 to 26."_s, usageText);
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const quint32 value = parser.value(seed).toUInt(&ok);
        if (!ok)
            return tool.wrongUsage(u"--seed takes a whole number from 0 to 4294967295."_s, usageText);
        options.seed = value;
    }
    SheetRequest request;
    request.sheets = withSheets;
    request.students = parser.value(students);
    request.className = parser.value(className);
    request.layout = parser.value(layout);
    return printTestTo(tool, args[0], args[1], options, request);
}

} // namespace

int printTestTo(CommandLineTool &tool, const QString &test, const QString &out, const PrintOptions &options,
                const SheetRequest &request)
{
    const bool withSheets = request.sheets;
    if (!test.endsWith(u".skt"_s, Qt::CaseInsensitive))
        return tool.fail(test + u": not a test (.skt)."_s);
    const QFileInfo outInfo(out);
    if (outInfo.isDir())
        return tool.fail(out + u": is a folder."_s);
    if (!outInfo.absoluteDir().exists())
        return tool.fail(out + u": no such folder."_s);
    if (sameFile(test, out))
        return tool.fail(out + u": that is the test itself."_s);

    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    std::optional<SchoolClass> schoolClass;
    if (!request.students.isEmpty()) {
        const QString list = request.students;
        if (!list.endsWith(u".sku"_s, Qt::CaseInsensitive))
            return tool.fail(list + u": not a student list (.sku)."_s);
        const LoadedDocument read = loadDocument(tw, list);
        if (!read.read)
            return tool.fail(list + u": "_s + read.problem);
        const QString wanted = request.className.trimmed();
        for (const SchoolClass &c : read.document.students.classes)
            if (!schoolClass && c.name.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
                schoolClass = c;
        if (!schoolClass)
            return tool.fail(list + u": no class \""_s + wanted + u"\"."_s);
        if (schoolClass->students.isEmpty())
            return tool.fail(list + u": the class \""_s + schoolClass->name + u"\" has no pupils."_s);
    }
    const LoadedDocument loaded = loadDocument(tw, test);
    if (!loaded.read)
        return tool.fail(test + u": "_s + loaded.problem);
    if (!loaded.problem.isEmpty())
        warn(tool, test, loaded.problem);

    const bool document = out.endsWith(u".odt"_s, Qt::CaseInsensitive);
    if (document && withSheets)
        return tool.wrongUsage(u"answer sheets are printed to PDF only."_s, usageText);
    PrintResult result;
    if (withSheets) {
        SheetPrinter printer(loaded.document.test, *tw.ws().workingTest);
        result = printer.printToFile(options, schoolClass ? &*schoolClass : nullptr, out);
        if (!result.ok)
            return tool.fail(result.error);
        if (!request.layout.isEmpty()) {
            QString why;
            if (!AtomicFile::write(request.layout, printer.layout().toJson(), &why))
                return tool.fail(request.layout + u": "_s + why);
        }
    } else {
        TestPrinter printer(loaded.document.test, *tw.ws().workingTest);
        result = document ? printer.writeDocumentToFile(options, out) : printer.printToFile(options, out);
        if (!result.ok)
            return tool.fail(result.error);
    }
    for (const AttachmentProblem &p : result.problems)
        warn(tool, test, problemText(p));

    const int count = static_cast<int>(result.plan.versions.size());
    tool.out() << QDir::toNativeSeparators(out) << u": "_s;
    if (document)
        tool.out() << u"a document"_s;
    else
        tool.out() << result.pages << (result.pages == 1 ? u" page"_s : u" pages"_s);
    if (options.key != PrintOptions::Key::Only)
        tool.out() << u", "_s << count << (count == 1 ? u" version"_s : u" versions"_s);
    if (options.key != PrintOptions::Key::None)
        tool.out() << (options.key == PrintOptions::Key::Only
                           ? u", the key of "_s + QString::number(count) +
                                 (count == 1 ? u" version"_s : u" versions"_s)
                           : u" with the key"_s);
    if (withSheets)
        tool.out() << u", answer sheets"_s;
    if (result.plan.shuffled)
        tool.out() << u", seed "_s << result.plan.seed;
    tool.out() << u".\n"_s;
    return CommandLineTool::Success;
}

void addPrintCommand(CommandLineTool &tool)
{
    tool.addCommand(
        {u"print"_s, u"print a test to PDF in shuffled versions with an answer key"_s, printTest});
}

bool needsGuiApplication(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "export") == 0) {
        // An editable document is laid out like the print.
        for (int i = 2; i < argc; ++i) {
            if (std::strcmp(argv[i], "--format=odt") == 0 ||
                (std::strcmp(argv[i], "odt") == 0 && std::strcmp(argv[i - 1], "--format") == 0))
                return true;
        }
    }
    return argc > 1 && (std::strcmp(argv[1], "print") == 0 || std::strcmp(argv[1], "grade") == 0);
}
