// PACK archive operations on a 50-member archive, each set against the floor of copying the same
// number of bytes with the OS (std::filesystem::copy_file), timed in the same iterations.
//   build/bin/zadanix_bench --benchmark_filter=Pak
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Members = 50;
constexpr qint64 TotalBytes = qint64(20) << 20;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QByteArray memberData(int index, qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 31 + index * 7) & 0xFF);
    return data;
}

QString memberName(int index)
{
    return u"obraz%1.jpg"_s.arg(index, 2, 10, QChar(u'0'));
}

// Times copying a file of `bytes` bytes; the file is made once per benchmark.
class CopyFloor {
public:
    CopyFloor(const QTemporaryDir &dir, qint64 bytes)
        : m_from(dir.filePath(u"floor.src"_s).toStdString()), m_to(dir.filePath(u"floor.dst"_s).toStdString())
    {
        QFile file(QString::fromStdString(m_from));
        if (file.open(QIODevice::WriteOnly))
            file.write(memberData(99, bytes));
    }
    void measure()
    {
        const auto start = Clock::now();
        std::filesystem::copy_file(m_from, m_to, std::filesystem::copy_options::overwrite_existing);
        m_seconds += secondsSince(start);
    }
    void report(benchmark::State &state, double operationSeconds) const
    {
        state.counters["ratio_to_copy"] = m_seconds > 0 ? operationSeconds / m_seconds : 0;
        state.counters["copy_ms"] = benchmark::Counter(m_seconds * 1000, benchmark::Counter::kAvgIterations);
    }

private:
    std::string m_from;
    std::string m_to;
    double m_seconds = 0;
};

void fill(TVfsPAK &pak, qint64 totalBytes)
{
    for (int i = 0; i < Members; ++i)
        PutStream(memberName(i), memberData(i, totalBytes / Members), pak);
}

void BM_PakAdd(benchmark::State &state)
{
    QTemporaryDir dir;
    TVfsPAK pak;
    CreateArchive(dir.filePath(u"a.pak"_s), pak);
    QList<QByteArray> data;
    for (int i = 0; i < Members; ++i)
        data.append(memberData(i, TotalBytes / Members));
    CopyFloor floor(dir, TotalBytes);
    double total = 0;
    for (auto _ : state) {
        DeleteAllMembers(pak);
        const auto start = Clock::now();
        for (int i = 0; i < Members; ++i)
            PutStream(memberName(i), data[i], pak);
        const double t = secondsSince(start);
        state.SetIterationTime(t);
        total += t;
        floor.measure();
    }
    floor.report(state, total);
    state.SetBytesProcessed(state.iterations() * TotalBytes);
}

void BM_PakExtract(benchmark::State &state)
{
    QTemporaryDir dir;
    TVfsPAK pak;
    CreateArchive(dir.filePath(u"a.pak"_s), pak);
    fill(pak, TotalBytes);
    CopyFloor floor(dir, TotalBytes);
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (int i = 0; i < Members; ++i)
            benchmark::DoNotOptimize(ExtractStream(memberName(i), pak));
        const double t = secondsSince(start);
        state.SetIterationTime(t);
        total += t;
        floor.measure();
    }
    floor.report(state, total);
    state.SetBytesProcessed(state.iterations() * TotalBytes);
}

// Deleting the member at the front moves everything behind it: the worst single deletion.
void BM_PakDeleteFirst(benchmark::State &state)
{
    QTemporaryDir dir;
    TVfsPAK pak;
    CreateArchive(dir.filePath(u"a.pak"_s), pak);
    fill(pak, TotalBytes);
    const qint64 moved = QFile(pak.path()).size() - TotalBytes / Members;
    CopyFloor floor(dir, moved);
    double total = 0;
    for (auto _ : state) {
        const QString name = pak.Names().first();
        const auto start = Clock::now();
        DeleteMember(name, pak);
        const double t = secondsSince(start);
        state.SetIterationTime(t);
        total += t;
        floor.measure();
        PutStream(name, memberData(0, TotalBytes / Members), pak);
    }
    floor.report(state, total);
    state.SetBytesProcessed(state.iterations() * moved);
}

// Emptying is two calls whatever the archive's size: a 12-byte header write and a cut. The cut makes
// the file system free the file's blocks, which it does in time proportional to them; so the cut of
// a plain file of the same size is timed too (truncate_ms, ratio_to_truncate). arg = archive bytes.
void BM_PakDeleteAllMembers(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString master = dir.filePath(u"master.pak"_s);
    const QString work = dir.filePath(u"work.pak"_s);
    const QString plain = dir.filePath(u"plain.bin"_s);
    {
        TVfsPAK pak;
        CreateArchive(master, pak);
        fill(pak, state.range(0));
    }
    const auto fresh = [&](const QString &path) {
        std::filesystem::copy_file(master.toStdString(), path.toStdString(),
                                   std::filesystem::copy_options::overwrite_existing);
        // Written back now, so that the timed cut does not wait for it.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
        ::fsync(fd);
        return fd;
    };
    CopyFloor floor(dir, QFile(master).size());
    double total = 0;
    double truncateSeconds = 0;
    TVfsPAK pak;
    for (auto _ : state) {
        pak.close();
        ::close(fresh(work));
        OpenArchive(work, pak);
        auto start = Clock::now();
        DeleteAllMembers(pak);
        const double t = secondsSince(start);
        state.SetIterationTime(t);
        total += t;
        floor.measure();

        const int fd = fresh(plain);
        start = Clock::now();
        benchmark::DoNotOptimize(::ftruncate(fd, TVfsPAK::HeaderSize));
        truncateSeconds += secondsSince(start);
        ::close(fd);
    }
    floor.report(state, total);
    state.counters["truncate_ms"] =
        benchmark::Counter(truncateSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio_to_truncate"] = truncateSeconds > 0 ? total / truncateSeconds : 0;
}

// What emptying costs when it deletes member by member from the front, for comparison.
void BM_PakDeleteOneByOne(benchmark::State &state)
{
    QTemporaryDir dir;
    TVfsPAK pak;
    CreateArchive(dir.filePath(u"a.pak"_s), pak);
    CopyFloor floor(dir, TotalBytes);
    double total = 0;
    for (auto _ : state) {
        fill(pak, TotalBytes);
        const auto start = Clock::now();
        while (!pak.Names().isEmpty())
            DeleteMember(pak.Names().first(), pak);
        const double t = secondsSince(start);
        state.SetIterationTime(t);
        total += t;
        floor.measure();
    }
    floor.report(state, total);
}

// arg 0: into an empty target; arg 1: into a target already holding every name (all replaced).
void BM_PakCopyAllMembers(benchmark::State &state)
{
    const bool replacing = state.range(0) != 0;
    QTemporaryDir dir;
    TVfsPAK source;
    CreateArchive(dir.filePath(u"source.pak"_s), source);
    fill(source, TotalBytes);
    TVfsPAK target;
    CreateArchive(dir.filePath(u"target.pak"_s), target);
    CopyAllMembers(source, target);
    CopyFloor floor(dir, QFile(source.path()).size());
    double total = 0;
    for (auto _ : state) {
        if (!replacing)
            DeleteAllMembers(target);
        const auto start = Clock::now();
        CopyAllMembers(source, target);
        const double t = secondsSince(start);
        state.SetIterationTime(t);
        total += t;
        floor.measure();
    }
    if (target.Names().size() != Members)
        state.SkipWithError("the copy lost members");
    floor.report(state, total);
    state.SetBytesProcessed(state.iterations() * TotalBytes);
}

} // namespace

BENCHMARK(BM_PakAdd)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PakExtract)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PakDeleteFirst)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PakDeleteAllMembers)
    ->Arg(qint64(2) << 20)
    ->Arg(TotalBytes)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PakDeleteOneByOne)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PakCopyAllMembers)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
