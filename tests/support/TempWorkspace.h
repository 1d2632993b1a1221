#pragma once

#include "core/Workspace.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// A workspace whose data folder is a fresh temporary folder, set up as at start-up.
class TempWorkspace {
public:
    TempWorkspace();
    QTemporaryDir dir;
    Workspace ws;

    QByteArray readFile(const QString &path) const;
    // The log's lines without their timestamps ("date time - " cut off).
    QStringList logTexts() const;
};
