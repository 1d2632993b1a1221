#include "print/PrintForm.h"

#include "core/Workspace.h"
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
    const QString done = editable ? u"Zapisano test jako dokument ODT"_s : u"Wydrukowano test do pliku PDF"_s;
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
