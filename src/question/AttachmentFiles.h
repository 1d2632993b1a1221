#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

class TVfsPAK;

// Reading the files attached to questions for previews, and the checks made before one is stored.
// Texts are Windows-1250 and come as lines (CR LF, LF or CR end a line).
namespace AttachmentFiles {

// A member of the archive as lines; empty when the archive or the member is missing.
std::optional<QStringList> memberLines(TVfsPAK *archive, const QString &name);
// A disk file as lines; empty when it cannot be read.
std::optional<QStringList> diskLines(const QString &path);
// The whole disk file; empty when it cannot be read (a folder, missing, unreadable).
std::optional<QByteArray> diskBytes(const QString &path);
// Lines as one text, each line ended by CR LF (as a list of lines gives its text).
QString joinedText(const QStringList &lines);
// Lines as one text with "\r" between them: line breaks the windows show.
QString shownText(const QStringList &lines);

// A picture member decoded to fit `box` (an empty box: its own size); false when missing, no picture
// kind or damaged.
bool memberPicture(TVfsPAK *archive, const QString &name, QImage &image, QSize box = {});

// The name without any folder part (both separators).
QString withoutFolder(const QString &name);
// A typed name for a text file: no folder, cut at its first full stop, then ".txt".
QString typedTextName(const QString &typed);
// A typed name for a picture: no folder, then the extension of `original` spelled as there.
QString typedImageName(const QString &typed, const QString &original);

// True when the archive can store a member of this name: under 120 bytes in Windows-1250 and no
// character the code page lacks.
bool storableName(const QString &name);
// The message refusing a file whose name cannot be stored.
QString unstorableNameMessage(const QString &name);

// The name the test's new member gets from the name typed in a clash dialog for `original`.
QString typedName(bool text, const QString &typed, const QString &original);
// Why a name typed in a clash dialog for `original` cannot be taken, empty when it can: the name built
// from it cannot be stored, or `test` already holds a member of that name (ignoring case), which would
// be replaced for every question using it.
QString clashNameProblem(bool text, const QString &typed, const QString &original, TVfsPAK *test);

} // namespace AttachmentFiles
