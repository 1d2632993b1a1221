#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class Workspace;

// What is stored of a picture a teacher attaches: its bytes as they are, or a large or turned JPEG
// reduced and upright (PhotoShrinking), as the editor setting "zdz" says, asking when it says so.
// Empty when the teacher cancels the question: nothing is then attached.
std::optional<QByteArray> pictureToStore(Workspace &ws, const QString &name, const QByteArray &bytes);
