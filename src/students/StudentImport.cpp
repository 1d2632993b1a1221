#include "students/StudentImport.h"

#include "core/Workspace.h"
#include "storage/Cp1250.h"
#include "students/StudentView.h"

#include <QFile>

using namespace Qt::StringLiterals;

QStringList importFileLines(const QByteArray &bytes)
{
    QStringList lines;
    const QString text = Cp1250::toUnicode(bytes);
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        if (end > start)
            lines << text.mid(start, end - start);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            take(i);
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    take(text.size());
    return lines;
}

bool importLinesIntoView(Workspace &ws, const QStringList &lines, StudentView &view)
{
    if (lines.isEmpty()) {
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, u"Wskazana lista jest pusta."_s);
        return false;
    }
    QStringList imported;
    for (const QString &line : lines) {
        const StudentLineParts parts = splitLineAtBlank(line);
        if (parts.firstWord.isEmpty() || parts.rest.isEmpty()) {
            ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                           u"Lista zawiera błędy.\rW wierszu "_s + line + u" jest zbitka słowna."_s +
                               u"Pozycję tę pominięto."_s);
            ws.logEvent(0, u"Import listy uczniów. Zbitka słowana."_s);
            continue;
        }
        // The file always has the first name first; the view shows them as "fn" says.
        imported << studentLine(parts.firstWord, parts.rest, view.firstNameFirst);
    }
    view.setImportedLines(imported);
    return !imported.isEmpty();
}

bool importStudents(Workspace &ws, StudentView &view)
{
    if (!ws.prompts)
        return false;
    FileDialogRequest request;
    request.title = u"Wskaż plik z listą uczniów"_s;
    request.filter = u"Plik tekstowy (*.txt)"_s;
    request.defaultExtension = u"txt"_s;
    const QString path = ws.prompts->openFileName(request);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                       u"Nie można odczytać pliku:\r"_s + path + u"\r"_s + file.errorString());
        return false;
    }
    // A list of students is small; anything far larger is not one.
    constexpr qint64 kMaxImportBytes = 16 * 1024 * 1024;
    const QByteArray bytes = file.read(kMaxImportBytes + 1);
    if (bytes.size() > kMaxImportBytes) {
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                       u"Plik jest za duży, by był listą uczniów:\r"_s + path);
        return false;
    }
    return importLinesIntoView(ws, importFileLines(bytes), view);
}
