// Peak memory and time of the readers on large and hostile inputs, against the bound they must keep:
// at most 20 times the input plus 64 MB, and about a second per MB. Each reading runs in a child
// process, whose peak resident size (less that of a child that reads nothing) is what the reading
// cost. Run without sanitizers:  build/bin/zadanix_bench --benchmark_filter=ReaderMemory
#include "PeakMemory.h"
#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/FieldCoding.h"
#include "documents/ListDocuments.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"
#include "core/StudentList.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Readers {
    QTemporaryDir dir;
    Workspace ws;

    Readers()
    {
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        ws.rng.seed(35);
        ws.log.setPath(dir.filePath(u"brak/Dziennik.txt"_s)); // logging costs nothing here
    }

    QString file(const QString &name) const { return dir.filePath(name); }

    QByteArray codedLines(const QStringList &values)
    {
        QByteArray out;
        for (const QString &v : values)
            out += EncodeSetting(Cp1250::fromUnicode(v), ws.rng) + "\r\n";
        return out;
    }
};

Readers &readers()
{
    static Readers r;
    return r;
}

// Peak resident kilobytes of a child process running `work`, and its wall time.
std::pair<long, double> inChild(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    const long peak = childPeakKb(work);
    return {peak, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void measure(benchmark::State &state, const QString &path, const std::function<void()> &read)
{
    const double inputMB = static_cast<double>(QFileInfo(path).size()) / (1024 * 1024);
    double peakMB = 0;
    double seconds = 0;
    for (auto _ : state) {
        const long base = inChild([] {}).first;
        const auto [peak, time] = inChild(read);
        peakMB = static_cast<double>(peak - base) / 1024;
        seconds = time;
    }
    const double boundMB = 20 * inputMB + 64;
    state.counters["input_MB"] = inputMB;
    state.counters["peak_MB"] = peakMB;
    state.counters["bound_MB"] = boundMB;
    state.counters["peak_to_bound"] = peakMB / boundMB;
    state.counters["s_per_MB"] = inputMB > 0 ? seconds / inputMB : 0;
}

// 6 MB of sibling elements under one root.
void BM_ReaderMemoryFlatXml(benchmark::State &state)
{
    Readers &r = readers();
    const QString path = r.file(u"plaski.xml"_s);
    if (!QFileInfo::exists(path)) {
        QByteArray xml = "<r>";
        while (xml.size() < 6 * 1024 * 1024)
            xml += "<a>1</a>";
        xml += "</r>";
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(xml);
    }
    measure(state, path, [&path] {
        TpkXML xml;
        xml.LoadFromFile(path);
    });
}
BENCHMARK(BM_ReaderMemoryFlatXml)->Iterations(1)->Unit(benchmark::kMillisecond);

// 1 MB of chains as deep as a load allows, loaded and saved back, as a setting's update does with
// Edycja.ini.
void BM_ReaderMemoryDeepXmlSaved(benchmark::State &state)
{
    Readers &r = readers();
    const QString path = r.file(u"gleboki.ini"_s);
    if (!QFileInfo::exists(path)) {
        QByteArray chain;
        for (int i = 1; i < TpkXML::kMaxDepth; ++i)
            chain += "<a>";
        for (int i = 1; i < TpkXML::kMaxDepth; ++i)
            chain += "</a>";
        QByteArray xml = "<Ini>";
        while (xml.size() < 1024 * 1024)
            xml += chain;
        xml += "</Ini>";
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(xml);
    }
    measure(state, path, [&path] {
        TpkXML xml;
        xml.LoadFromFile(path);
        xml.SaveToFile(path + u".zapis"_s);
    });
}
BENCHMARK(BM_ReaderMemoryDeepXmlSaved)->Iterations(1)->Unit(benchmark::kMillisecond);

// A test list of 300 000 entries.
void BM_ReaderMemoryLongTestList(benchmark::State &state)
{
    Readers &r = readers();
    const QString path = r.file(u"dluga.skg"_s);
    if (!QFileInfo::exists(path)) {
        QStringList entries;
        for (int i = 0; i < 300000; ++i)
            entries << u"0|test %1|/testy/%1.skt"_s.arg(i);
        WriteTestList(r.ws, path, {u"A"_s, u"2024-01-01"_s, {}}, entries);
    }
    measure(state, path, [&r, &path] {
        ListInfo info;
        QStringList entries;
        ReadTestList(r.ws, path, info, entries);
    });
}
BENCHMARK(BM_ReaderMemoryLongTestList)->Iterations(1)->Unit(benchmark::kMillisecond);

// A version-35 student list whose index names one class of 200 students 20 000 times.
void BM_ReaderMemoryRepeatedClassIndex(benchmark::State &state)
{
    Readers &r = readers();
    const QString path = r.file(u"powtorzona.sku"_s);
    if (!QFileInfo::exists(path)) {
        QStringList index{u"x"_s, u"y"_s};
        for (int i = 0; i < 20000; ++i)
            index << u"5a"_s;
        QStringList members{u"5a"_s, u""_s, u""_s, u"45"_s};
        for (int s = 0; s < 200; ++s)
            members << u"Uczeń%1 Nazwisko%1"_s.arg(s);
        TVfsPAK pak;
        CreateArchive(path, pak);
        PutStream(u"Selu0.txp"_s, r.codedLines(index), pak);
        PutStream(u"5a.txp"_s, r.codedLines(members), pak);
    }
    measure(state, path, [&r, &path] {
        StudentList list;
        ReadStudentList(r.ws, path, list);
    });
}
BENCHMARK(BM_ReaderMemoryRepeatedClassIndex)->Iterations(1)->Unit(benchmark::kMillisecond);

// A version-40 student list of 300 classes of 1000 students.
void BM_ReaderMemoryLargeStudentList(benchmark::State &state)
{
    Readers &r = readers();
    const QString path = r.file(u"duza.sku"_s);
    if (!QFileInfo::exists(path)) {
        StudentList list;
        list.reset();
        for (int c = 0; c < 300; ++c) {
            SchoolClass sc;
            sc.name = u"Klasa %1"_s.arg(c);
            for (int s = 0; s < 1000; ++s)
                sc.students.append({u"Imię%1"_s.arg(s), u"Nazwisko%1"_s.arg(s)});
            list.classes.append(sc);
        }
        WriteStudentList(r.ws, path, list);
    }
    measure(state, path, [&r, &path] {
        StudentList list;
        ReadStudentList(r.ws, path, list);
    });
}
BENCHMARK(BM_ReaderMemoryLargeStudentList)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
