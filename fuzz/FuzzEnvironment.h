#pragma once

#include "core/Workspace.h"

#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// What the fuzz targets share: one workspace per process in a data folder of its own, set up as at
// start-up, with its working archives and nobody to answer questions (every question answers No).
// Durability and the event log are switched off: a flush or a log rewrite per input would cost more
// than the reading being fuzzed, and the log would grow with every input.
class FuzzEnvironment {
public:
    static FuzzEnvironment &get();

    Workspace &ws() { return m_ws; }
    // The input as the file `name` (in the environment's folder unless absolute), rewritten for every
    // input.
    QString inputFile(const uint8_t *data, size_t size, const QString &name);

private:
    FuzzEnvironment();

    QTemporaryDir m_dir;
    Workspace m_ws;
};
