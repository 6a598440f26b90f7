// Load and save of a large Map BIN file, beside reading and writing the same bytes raw.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "platform/atomicsave.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct BigFile {
    QTemporaryDir Dir;
    QString Path;
    QString OutPath;
    C3DObjectsList Catalogue;
    CPopTemplatesTypesList Types;
    qint64 Bytes = 0;

    BigFile()
    {
        // 10,000 catalogue names; about 200,000 records: 10,000 templates with 10 objects each,
        // 60,000 keysites, 15,000 airbases, 15,000 SAM sites.
        for (int i = 0; i < 10000; ++i)
            Catalogue.Add("object_" + std::to_string(i * 7919 % 10007));
        CBINFile doc(&Catalogue, &Types);
        std::vector<CPopTemplate> templates(10000);
        for (int t = 0; t < 10000; ++t) {
            CPopTemplate& tmpl = templates[size_t(t)];
            tmpl.TypeCode = 1 + t % 30;
            tmpl.ApproximationObject = t % 10000;
            tmpl.BaseObject = t % 3 == 0 ? NoObjectIndex : (t * 13) % 10000;
            tmpl.RouteObject = (t * 31) % 10000;
            for (int o = 0; o < 10; ++o)
                tmpl.Objects.push_back({float(o * 12.5), float(t % 100), 0, (t + o * 97) % 10000});
        }
        doc.InsertRows(0, std::move(templates));
        std::vector<CKeysitePlacement> keysites;
        for (int k = 0; k < 60000; ++k)
            keysites.push_back({k % 10000, float(k), 0});
        doc.InsertRows(0, std::move(keysites));
        std::vector<CAirbasePlacement> airbases;
        for (int a = 0; a < 15000; ++a)
            airbases.push_back({0, 0, a % 10000});
        doc.InsertRows(0, std::move(airbases));
        doc.InsertRows(0, std::vector<CSAMPlacement>(15000));
        Path = Dir.filePath(QStringLiteral("big.bin"));
        OutPath = Dir.filePath(QStringLiteral("out.bin"));
        doc.Save(Path, true);
        Bytes = QFile(Path).size();
    }
};

BigFile& File()
{
    static BigFile file;
    return file;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * File().Bytes);
    state.counters["file_MB"] = double(File().Bytes) / 1e6;
}

void BM_RawRead(benchmark::State& state)
{
    File(); // generated once, outside the timing
    for (auto _ : state) {
        QFile file(File().Path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
    SetBytes(state);
}

void BM_Load(benchmark::State& state)
{
    for (auto _ : state) {
        CBINFile doc(&File().Catalogue, &File().Types);
        if (!doc.Load(File().Path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.KeysiteCount());
    }
    SetBytes(state);
}

void BM_RawWrite(benchmark::State& state)
{
    QFile in(File().Path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    for (auto _ : state)
        SaveFileAtomically(File().OutPath, bytes);
    SetBytes(state);
}

void BM_Save(benchmark::State& state)
{
    CBINFile doc(&File().Catalogue, &File().Types);
    doc.Load(File().Path);
    for (auto _ : state) {
        if (!doc.Save(File().OutPath, true))
            state.SkipWithError("save failed");
    }
    SetBytes(state);
}

} // namespace

BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
