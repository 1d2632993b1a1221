#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class Workspace;

// Sample tests for the interchange tests, built in the workspace's test model and working archive
// the way the editor leaves them: Polish texts, line breaks, marks the formats must escape, shared
// pictures and passages.
namespace SampleTests {

struct Sample {
    const char *name;
    void (*build)(Workspace &ws);
};
const QList<Sample> &all();

QByteArray jpeg();
QByteArray gif();
QByteArray bmp();
QByteArray png();

} // namespace SampleTests
