// Faction files: load and save of a 512 x 512 sector file beside reading and writing the same
// bytes raw, and the faction picture drawn into 1920 x 1080 beside a plain fill of that image.
#include "factions/factiondocument.h"
#include "factions/factionsinfo.h"
#include "mapview/factionlayer.h"
#include "platform/atomicsave.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct FactionFile {
    QTemporaryDir Dir;
    QString Path;
    QString OutPath;
    QByteArray Bytes;

    FactionFile()
    {
        // A front line that wanders across the map, with islands of the other side behind it.
        const CLayeredDocument doc = NewFactionDocument(512, 512, [](int32_t i, int32_t j) {
            const bool east = i > 256 + (j * 37 % 91) - 45;
            const bool island = (i / 16 + j / 16) % 7 == 0;
            return east != island ? 1 : 0;
        });
        Path = Dir.filePath(QStringLiteral("big.sid"));
        OutPath = Dir.filePath(QStringLiteral("out.sid"));
        doc.WriteDocument(Path);
        Bytes = doc.Serialize();
    }
};

FactionFile& File()
{
    static FactionFile file;
    return file;
}

void BM_ReadRawBytes(benchmark::State& state)
{
    for (auto _ : state) {
        QFile f(File().Path);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll());
    }
}
BENCHMARK(BM_ReadRawBytes)->Unit(benchmark::kMicrosecond);

void BM_LoadFromFile(benchmark::State& state)
{
    for (auto _ : state) {
        CFactionsInfo factions;
        if (!factions.LoadFromFile(File().Path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(factions.Columns);
    }
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMicrosecond);

void BM_WriteRawBytes(benchmark::State& state)
{
    for (auto _ : state)
        SaveFileAtomically(File().OutPath, File().Bytes);
}
BENCHMARK(BM_WriteRawBytes)->Unit(benchmark::kMicrosecond);

void BM_SaveToFile(benchmark::State& state)
{
    CFactionsInfo factions;
    factions.LoadFromFile(File().Path);
    for (auto _ : state) {
        if (!factions.SaveToFile(File().OutPath))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMicrosecond);

void BM_FillImage(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(qRgb(240, 240, 240));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FillImage)->Unit(benchmark::kMicrosecond);

// The whole 512 x 512 grid fitted into the image, as the default view shows a square map.
void BM_Render(benchmark::State& state)
{
    CFactionsInfo factions;
    factions.LoadFromFile(File().Path);
    const int32_t extent = 512 * 4096;
    const CViewport view(0, 0, extent, extent, 420, 0, 1500, 1080, 256, 256, 1920, 1080);
    QImage image;
    for (auto _ : state) {
        RenderFactions(factions, view, image, qRgb(240, 240, 240));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Render)->Unit(benchmark::kMicrosecond);

// Zoomed in: a few large squares cover the image.
void BM_RenderZoomed(benchmark::State& state)
{
    CFactionsInfo factions;
    factions.LoadFromFile(File().Path);
    const CViewport view(200 * 4096, 300 * 4096, 232 * 4096, 318 * 4096, 0, 0, 1920, 1080, 256, 256, 1920, 1080);
    QImage image;
    for (auto _ : state) {
        RenderFactions(factions, view, image, qRgb(240, 240, 240));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RenderZoomed)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
