#include "GradeCommand.h"

#include "CommandLineTool.h"
#include "DocumentLoading.h"
#include "ToolWorkspace.h"
#include "grading/PaperGrader.h"
#include "grading/ScanFiles.h"
#include "grading/SheetReader.h"
#include "storage/AtomicFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

constexpr int kNeedsReview = 3;

const QString usageText =
    u"Usage: zadanix grade TEST.skt SCAN... [--out RESULTS.csv] [--review DIR]\n"
    u"  read scanned answer sheets of the test and score them\n\n"
    u"SCAN          a scanned PDF (any number of pages) or pictures (JPEG, PNG, TIFF), in any order;\n"
    u"              pages without a sheet (booklets, blank pages) are skipped and counted\n"
    u"--out FILE    the results (one row per sheet, \";\" between fields, UTF-8) to FILE instead of\n"
    u"              standard output\n"
    u"--review DIR  a picture of every question row whose marks need a person's look, in DIR\n\n"
    u"Exit status: 0 every sheet read, 3 some marks need review (listed on standard error),\n"
    u"1 a file that cannot be read or a sheet of another test, 2 wrong usage.\n"_s;

int gradeScans(CommandLineTool &tool, const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption out(u"out"_s, u"Results file."_s, u"FILE"_s);
    const QCommandLineOption review(u"review"_s, u"Review folder."_s, u"DIR"_s);
    parser.addOptions({help, out, review});
    if (!parser.parse(QStringList{u"zadanix grade"_s} + arguments))
        return tool.wrongUsage(parser.errorText(), usageText);
    if (parser.isSet(help)) {
        tool.out() << usageText;
        return CommandLineTool::Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() < 2)
        return tool.wrongUsage(u"\"grade\" takes a test and at least one scan."_s, usageText);
    const QString &test = args[0];
    if (!test.endsWith(u".skt"_s, Qt::CaseInsensitive))
        return tool.fail(test + u": not a test (.skt)."_s);
    if (parser.isSet(review) && !QFileInfo(parser.value(review)).isDir() && !QDir().mkpath(parser.value(review)))
        return tool.fail(parser.value(review) + u": the folder cannot be made."_s);

    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const LoadedDocument loaded = loadDocument(tw, test);
    if (!loaded.read)
        return tool.fail(test + u": "_s + loaded.problem);
    const TestModel model = loaded.document.test;

    SheetReader reader;
    PaperGrader grader(model);
    bool failed = false;
    int duplicates = 0;
    const auto say = [&](const QString &line) {
        tool.out().flush();
        tool.err() << u"zadanix: "_s << line << u'\n';
        tool.err().flush();
    };
    for (const QString &scan : args.mid(1)) {
        QString why;
        const bool read = ScanFiles::read(
            scan,
            [&](int page, const QImage &image, const QString &problem) {
                if (image.isNull()) {
                    say(u"%1, page %2: %3."_s.arg(scan).arg(page).arg(problem));
                    failed = true;
                    return true;
                }
                QString message;
                switch (grader.addReading(reader.read(image), scan, page, &message)) {
                case PaperGrader::Outcome::Sheet:
                case PaperGrader::Outcome::Skipped:
                    break;
                case PaperGrader::Outcome::Duplicate:
                    ++duplicates;
                    say(message);
                    break;
                case PaperGrader::Outcome::OtherTest:
                case PaperGrader::Outcome::Unreadable:
                    failed = true;
                    say(message);
                    break;
                }
                return true;
            },
            &why);
        if (!read) {
            say(scan + u": "_s + why + u'.');
            failed = true;
        }
    }

    const QList<ReviewItem> items = grader.reviewItems();
    for (const ReviewItem &item : items) {
        const GradedSheet &s = grader.sheets()[item.sheet];
        const QString who = s.reading.code.pupilName().isEmpty() ? u"blank sheet"_s : s.reading.code.pupilName();
        say(u"%1, page %2 (%3): question %4 needs review."_s.arg(s.file).arg(s.page).arg(who).arg(item.question));
        if (parser.isSet(review)) {
            const QRectF row = s.reading.geometry.rowRect(item.question)
                                   .translated(-s.reading.geometry.gridRect().topLeft());
            const qreal k = SheetReader::kPixelsPerPoint;
            const QImage picture =
                s.reading.grid.copy(QRectF(row.topLeft() * k, row.size() * k).toRect());
            const QString name = QDir(parser.value(review))
                                     .filePath(u"arkusz%1-pytanie%2.png"_s.arg(item.sheet + 1, 3, 10, QChar(u'0'))
                                                   .arg(item.question, 2, 10, QChar(u'0')));
            if (!picture.save(name, "PNG")) {
                say(name + u": cannot be written."_s);
                failed = true;
            }
        }
    }

    const QByteArray csv = grader.csv();
    if (parser.isSet(out)) {
        QString why;
        if (!AtomicFile::write(parser.value(out), csv, &why))
            return tool.fail(parser.value(out) + u": "_s + why);
    } else if (!tool.writeBinary(csv)) {
        return tool.fail(u"the results cannot be written."_s);
    }
    tool.err() << u"zadanix: sheets read: "_s << grader.sheets().size() << u", pages skipped: "_s
               << grader.skipped() << u", repeated: "_s << duplicates << u", marks to review: "_s << items.size()
               << u".\n"_s;
    tool.err().flush();
    if (failed)
        return CommandLineTool::Failure;
    return items.isEmpty() ? int(CommandLineTool::Success) : kNeedsReview;
}

} // namespace

void addGradeCommand(CommandLineTool &tool)
{
    tool.addCommand({u"grade"_s, u"read scanned answer sheets and score them"_s, gradeScans});
}
