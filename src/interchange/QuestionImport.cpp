#include "interchange/QuestionImport.h"

#include "core/Workspace.h"
#include "interchange/InterchangeFormat.h"
#include "interchange/QuestionTransfer.h"
#include "storage/TVfsPAK.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

std::optional<QByteArray> readWhole(const QString &path, QString &why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        return std::nullopt;
    }
    if (file.size() > Interchange::MaxFileBytes) {
        why = u"larger than %1 MB."_s.arg(Interchange::MaxFileBytes >> 20);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

QString noteList(const QList<InterchangeNote> &notes)
{
    QStringList lines;
    for (qsizetype i = 0; i < std::min<qsizetype>(notes.size(), QuestionImport::MaxListedNotes); ++i)
        lines << notes[i].polishText();
    if (notes.size() > QuestionImport::MaxListedNotes)
        lines << u"… i %1 dalszych uwag."_s.arg(notes.size() - QuestionImport::MaxListedNotes);
    return lines.join(u'\r');
}

} // namespace

QuestionImport::Result QuestionImport::run(Workspace &ws)
{
    if (ws.test.header.questionCount >= kMaxQuestions) {
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                       u"Test zawiera już %1 pytań; nie można dołączyć następnych."_s.arg(kMaxQuestions));
        return {};
    }
    if (!ws.prompts)
        return {};
    FileDialogRequest request;
    request.title = u"Importuj pytania"_s;
    request.filter = u"Pytania Moodle XML, GIFT, Aiken, Word, Writer (*.xml *.txt *.gift *.docx *.odt);;"
                     u"Dokumenty Word, Writer (*.docx *.odt);;Wszystkie pliki (*)"_s;
    request.defaultExtension = u"txt"_s;
    const QString path = ws.prompts->openFileName(request);
    if (path.isEmpty())
        return {};
    return importFile(ws, path);
}

QuestionImport::Result QuestionImport::importFile(Workspace &ws, const QString &path)
{
    Result result;
    result.chosen = true;
    const QString fileName = QFileInfo(path).fileName();
    const auto failed = [&](const QString &why) {
        ws.logEvent(0, u"Import pytań. "_s + fileName + u": "_s + why);
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                       u"Nie udało się odczytać pytań z pliku "_s + fileName +
                           u".\rPlik nie jest w formacie Moodle XML, GIFT ani Aiken, nie jest dokumentem "
                           u"Word (.docx) ani Writer (.odt) albo jest uszkodzony."_s);
        return result;
    };
    QString why;
    const std::optional<QByteArray> bytes = readWhole(path, why);
    if (!bytes)
        return failed(why);
    const InterchangeContent content = Interchange::read(Interchange::detectFormat(*bytes), *bytes);
    if (!content.error.isEmpty())
        return failed(content.error);

    QList<InterchangeNote> notes = content.notes;
    const bool fresh = ws.test.header.questionCount <= 0;
    const QuestionTransfer::Appended appended =
        QuestionTransfer::appendToTest(ws.test, *ws.workingTest, content.questions, notes);
    result.appended = appended.count;
    if (fresh && appended.count > 0 && ws.test.header.testName.isEmpty())
        ws.test.header.testName = content.category;
    // Notes in the order of the file.
    Interchange::sortByPlace(notes);

    if (!appended.error.isEmpty()) {
        ws.logEvent(0, u"Import pytań. "_s + fileName + u": "_s + appended.error);
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                       u"Dołączono pytania: %1. Nie udało się zapisać załączników następnego pytania."_s.arg(
                           appended.count));
        return result;
    }
    ws.logEvent(4, u"Import pytań. "_s + fileName + u": dołączono %1."_s.arg(appended.count));
    QString text = appended.count > 0 ? u"Dołączono pytania: %1."_s.arg(appended.count)
                                      : u"Nie dołączono żadnego pytania z pliku "_s + fileName + u'.';
    if (!notes.isEmpty())
        text += u"\r\r"_s + noteList(notes);
    ws.showMessage(MessageKind::CloseOnly, notes.isEmpty() ? MessageIcon::InfoIcon : MessageIcon::WarningIcon,
                   text);
    return result;
}
