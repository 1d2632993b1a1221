#pragma once

#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

// Readable QString values in assertion messages.
void PrintTo(const QString &s, std::ostream *os);

// Base of the document format tests: a workspace in a temporary data folder with its working
// archives, answering through scripted prompts, and a way to place hand-built archives beside it.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.createWorkingArchives();
        t.ws.prompts = &prompts;
    }
    void TearDown() override { t.ws.shutDown(); }

    QString path(const QString &name) const;
    // Writes an archive of the given (name, data) members at path(name) and returns that path.
    QString writeArchive(const QString &name, const QList<std::pair<QByteArray, QByteArray>> &members);

    TempWorkspace t;
    ScriptedPrompts prompts;
};
