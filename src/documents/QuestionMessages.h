#pragma once

#include "core/Prompts.h"

#include <QString>

// What the user is told and asked about question documents, by the reader and writer and by the
// editors that open, import and save them.
namespace QuestionMessages {

// A question file that is damaged or is no question document at all.
QString unreadable();
// A question file that could not be written; the event log says why.
QString notWritten();
// A write that failed for want of an attached file (a disk path or a member name).
QString attachmentMissing(const QString &file);
// The event log's entry for that attached file.
QString attachmentMissingEntry(const QString &file);

// The open dialog for a question file ("Wskaż plik pytania") and the save dialog
// ("Zapisz plik pytania jako..."), both for .skq files.
FileDialogRequest openRequest();
FileDialogRequest saveAsRequest();

} // namespace QuestionMessages
