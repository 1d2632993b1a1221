#include "testeditor/EntryTree.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// Branches of ten leaves each, every leaf with a link.
QStringList wideLines(int count)
{
    QStringList lines;
    int parent = -1;
    for (int i = 0; i < count; ++i) {
        if (i % 11 == 0) {
            parent = i;
            const int leaves = std::min(10, count - i - 1);
            lines << u"%1*0*%2*-1*1*0*Klasa %1**"_s.arg(i).arg(leaves);
        } else {
            lines << u"%1*1*0*%2*0*0*Sprawdzian %1*C:\\Testy\\t%1.skt*"_s.arg(i).arg(parent);
        }
    }
    return lines;
}

// One branch inside the next, as deep as the count.
QStringList chainLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << u"%1*%1*%2*%3*1*0*n**"_s.arg(i).arg(count - 1 - i).arg(i - 1);
    return lines;
}

void loadLines(benchmark::State &state, QStringList (*make)(int))
{
    const QStringList lines = make(static_cast<int>(state.range(0)));
    EntryTree tree;
    for (auto _ : state) {
        const bool ok = tree.loadLines(lines);
        benchmark::DoNotOptimize(ok);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_EntryTreeLoadWide(benchmark::State &state)
{
    loadLines(state, wideLines);
}

void BM_EntryTreeLoadChain(benchmark::State &state)
{
    loadLines(state, chainLines);
}

void BM_EntryTreeSaveWide(benchmark::State &state)
{
    EntryTree tree;
    tree.loadLines(wideLines(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        QStringList lines;
        tree.saveLines(lines);
        benchmark::DoNotOptimize(lines);
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_EntryTreeLoadWide)->RangeMultiplier(4)->Range(256, 65536)->Complexity();
BENCHMARK(BM_EntryTreeLoadChain)->RangeMultiplier(4)->Range(256, 65536)->Complexity();
BENCHMARK(BM_EntryTreeSaveWide)->RangeMultiplier(4)->Range(256, 65536)->Complexity();
