#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <csignal>
#include <sys/resource.h>

class QRandomGenerator;
class TpkXML;
class TpkXMLNode;

// Builders and probes for the document format tests.
namespace DocumentFixtures {

// Version-35 text members: one settings-coded value per line, lines ended by CR LF. `old` codes
// for the old test table (the inverse of DecodeSettingOld, found by search).
QByteArray codedLines(const QStringList &values, QRandomGenerator &rng, bool old = false);
QByteArray encodeOld(const QString &value);

// Names of an element's children, in order.
QStringList childNames(const TpkXMLNode *node);
// The member `member` of the archive at `path`, parsed; false when the archive or member is missing.
bool loadMember(const QString &path, const QString &member, TpkXML &doc);
// Member names of the archive at `path`, in directory order.
QStringList memberNames(const QString &path);
// Files in a folder, sorted.
QStringList filesIn(const QString &folder);
// A test "Ułamki" by "Ja" of `count` questions "Q1" … with three answers, the first one right.
bool writeSampleTest(const QString &path, int count);

// Limits the size of files this process may write, as a full disk would, until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

} // namespace DocumentFixtures
