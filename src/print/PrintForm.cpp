#include "print/PrintForm.h"

#include "core/Workspace.h"
#include "documents/ListDocuments.h"
#include "print/SheetPrinter.h"
#include "storage/TVfsPAK.h"

#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

void PrintForm::fill()
{
    versions = 1;
    key = false;
    keyOnly = false;
    seedText.clear();
}

void PrintForm::stepVersions(int direction)
{
    versions = std::clamp(versions + direction, 1, kMaxPrintVersions);
}

void PrintForm::setKey(bool on)
{
    key = on;
    if (!on)
        keyOnly = false;
}

void PrintForm::setKeyOnly(bool on)
{
    keyOnly = on;
    if (on)
        key = true;
}

void PrintForm::setSheets(bool on)
{
    sheets = on;
    if (on)
        editable = false;
}

void PrintForm::setEditable(bool on)
{
    editable = on;
    if (on)
        sheets = false;
}

void PrintForm::chooseStudentList()
{
    if (!m_ws.prompts)
        return;
    FileDialogRequest request;
    request.title = u"Lista uczniów dla kart odpowiedzi"_s;
    request.filter = u"Lista uczniów (*.sku)"_s;
    request.defaultExtension = u"sku"_s;
    if (!studentList.isEmpty())
        request.startFolder = QFileInfo(studentList).absolutePath();
    const QString path = m_ws.prompts->openFileName(request);
    if (path.isEmpty())
        return;
    StudentList list;
    if (!ReadStudentList(m_ws, path, list)) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Nie udało się odczytać listy uczniów\r"_s + QFileInfo(path).fileName() + u'.');
        return;
    }
    if (list.classes.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Lista uczniów "_s + QFileInfo(path).fileName() + u"\rnie zawiera żadnej klasy."_s);
        return;
    }
    studentList = path;
    classes = list.classes;
    classIndex = 0;
    setSheets(true);
}

QStringList PrintForm::classChoices() const
{
    QStringList choices{u"bez nazwisk (karty do powielenia)"_s};
    for (const SchoolClass &c : classes)
        choices.append(u"%1 (uczniów: %2)"_s.arg(c.name.trimmed()).arg(c.students.size()));
    return choices;
}

void PrintForm::chooseClass(int index)
{
    classIndex = index >= 0 && index < classes.size() ? index : -1;
}

bool PrintForm::seedValid() const
{
    bool ok = true;
    if (!seedText.trimmed().isEmpty())
        seedText.trimmed().toUInt(&ok);
    return ok;
}

PrintOptions PrintForm::options() const
{
    PrintOptions o;
    o.versions = versions;
    o.key = keyOnly ? PrintOptions::Key::Only : key ? PrintOptions::Key::AfterTest : PrintOptions::Key::None;
    if (!seedText.trimmed().isEmpty())
        o.seed = seedText.trimmed().toUInt();
    return o;
}

QString PrintForm::proposedFileName() const
{
    const QString extension = editable ? u".odt"_s : u".pdf"_s;
    if (!outputPath.isEmpty()) {
        const QFileInfo last(outputPath);
        return last.path() + u'/' + last.completeBaseName() + extension;
    }
    QString name = m_ws.test.header.testName.trimmed();
    // Characters no file system takes, and the folder separators.
    for (QChar &c : name) {
        if (c.unicode() < 32 || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    return (name.isEmpty() ? u"test"_s : name.left(80)) + extension;
}

PrintForm::Outcome PrintForm::run(int clockX, int clockY)
{
    if (!seedValid()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wpisz ziarno losowania jako liczbę od 0 do 4294967295\ralbo zostaw pole puste."_s);
        return Outcome::StayOpen;
    }
    if (!m_ws.prompts)
        return Outcome::StayOpen;
    if (sheets && classIndex >= 0 && classes[classIndex].students.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Klasa "_s + classes[classIndex].name.trimmed() +
                             u" nie ma uczniów.\rWybierz inną klasę albo karty bez nazwisk."_s);
        return Outcome::StayOpen;
    }
    FileDialogRequest request;
    request.title = editable ? u"Zapisz test jako dokument do edycji"_s : u"Drukuj test do pliku PDF"_s;
    request.filter = editable ? u"Dokument OpenDocument (*.odt)"_s : u"Dokument PDF (*.pdf)"_s;
    request.defaultExtension = editable ? u"odt"_s : u"pdf"_s;
    request.fileName = proposedFileName();
    const QString chosen = m_ws.prompts->saveFileName(request);
    if (chosen.isEmpty())
        return Outcome::StayOpen;
    outputPath = chosen;
    return print(clockX, clockY);
}

PrintForm::Outcome PrintForm::print(int clockX, int clockY)
{
    if (!seedValid() || outputPath.isEmpty())
        return Outcome::StayOpen;
    if (!m_ws.workingTest) {
        m_last = {};
        m_last.error = u"no test is open."_s;
    } else if (sheets && !editable) {
        SheetPrinter printer(m_ws.test, *m_ws.workingTest);
        const SchoolClass *schoolClass = classIndex >= 0 && classIndex < classes.size() ? &classes[classIndex] : nullptr;
        m_last = printer.printToFile(options(), schoolClass, outputPath);
    } else {
        TestPrinter printer(m_ws.test, *m_ws.workingTest);
        m_last = editable ? printer.writeDocumentToFile(options(), outputPath)
                          : printer.printToFile(options(), outputPath);
    }
    const QString kind = editable ? u"dokumentu ODT"_s : u"pliku PDF"_s;
    if (!m_last.ok) {
        m_ws.logEvent(0, u"Drukowanie. Błąd zapisu "_s + kind + u": "_s + m_last.error);
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Nie udało się wydrukować testu do pliku\r"_s + QFileInfo(outputPath).fileName() +
                             u".\rSprawdź, czy folder istnieje i czy można w nim zapisywać."_s);
        return Outcome::StayOpen;
    }
    const QString done = editable ? u"Zapisano test jako dokument ODT"_s
                         : sheets ? u"Wydrukowano test z kartami odpowiedzi do pliku PDF"_s
                                  : u"Wydrukowano test do pliku PDF"_s;
    m_ws.logEvent(4, m_last.plan.shuffled ? done + u" (ziarno losowania %1)."_s.arg(m_last.plan.seed)
                                          : done + u'.');
    if (!m_last.problems.isEmpty()) {
        QString text =
            u"Test wydrukowano, ale zamiast tych załączników\rstoi uwaga, że nie dało się ich odczytać:"_s;
        for (const AttachmentProblem &p : std::as_const(m_last.problems))
            text +=
                u"\rpytanie %1: %2 „%3”"_s.arg(p.question).arg(p.picture ? u"obraz"_s : u"tekst"_s, p.name);
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, text);
    }
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(clockX, clockY);
    return Outcome::Close;
}
