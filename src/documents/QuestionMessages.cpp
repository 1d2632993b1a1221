#include "documents/QuestionMessages.h"

using namespace Qt::StringLiterals;

namespace QuestionMessages {

QString unreadable()
{
    return u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony."_s;
}

QString notWritten()
{
    return u"Wystąpiły problemy z utworzeniem pliku pytania.\rSprawdź plik błędów."_s;
}

QString attachmentMissing(const QString &file)
{
    return u"Wystąpiły problemy z utworzeniem pliku pytania.\rNie można odczytać pliku\r„%1”\r"
           u"dołączonego do pytania. Plik pytania nie został zmieniony."_s.arg(file);
}

QString attachmentMissingEntry(const QString &file)
{
    return u"Brak pliku załącznika: "_s + file;
}

namespace {

FileDialogRequest request(const QString &title)
{
    FileDialogRequest r;
    r.title = title;
    r.filter = u"Plik pytania (*.skq)"_s;
    return r;
}

} // namespace

FileDialogRequest openRequest()
{
    return request(u"Wskaż plik pytania"_s);
}

FileDialogRequest saveAsRequest()
{
    FileDialogRequest r = request(u"Zapisz plik pytania jako..."_s);
    r.defaultExtension = u"skq"_s;
    return r;
}

} // namespace QuestionMessages
