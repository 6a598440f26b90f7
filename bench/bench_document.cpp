// Load and save of a Map BIN file of 200,000 records, each beside its floor measured in the same
// run: for Load, a hand-written pass over the same bytes into plain structs with a bounds check
// per record and a flat hash lookup of every name, and nothing else; for Save, an atomic write
// of the same bytes. Compare the medians: Load / LoadFloor and Save / RawWrite.
//
// At 2,000,000 records: Save2M / RawWrite2M, where the floor writes the same bytes atomically
// from a fresh buffer each time (as a save must fill one); and the recovery copy's snapshot, the
// only part of it left on the window's thread (under 16 ms, a frame), beside a plain copy of the
// same record bytes (SnapshotFloor2M) and beside the whole copy written as it used to be, on the
// window's thread (RecoveryWrite2M).
//   build/bench/bench_document --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "document/binformat.h"
#include "platform/atomicsave.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <string_view>

namespace {

struct BigFile {
    explicit BigFile(int records = 200000)
    {
        bench::FillCatalogue(Catalogue);
        Path = Dir.filePath(QStringLiteral("big.bin"));
        OutPath = Dir.filePath(QStringLiteral("out.bin"));
        bench::WriteBigCampaign(Path, Catalogue, records);
        Bytes = QFile(Path).size();
    }

    QTemporaryDir Dir;
    QString Path;
    QString OutPath;
    C3DObjectsList Catalogue;
    CPopTemplatesTypesList Types;
    qint64 Bytes = 0;
};

BigFile& File()
{
    static BigFile file;
    return file;
}

BigFile& File2M()
{
    static BigFile file(2000000);
    return file;
}

void SetBytes(benchmark::State& state, const BigFile& file = File())
{
    state.SetBytesProcessed(int64_t(state.iterations()) * file.Bytes);
    state.counters["file_MB"] = double(file.Bytes) / 1e6;
}

// --- The floor of Load ----------------------------------------------------------------------------

// Exact names by open addressing: a power-of-two table of positions, FNV-1a hashes.
class CFloorNames {
public:
    explicit CFloorNames(const std::vector<std::string>& names) : m_names(names)
    {
        size_t size = 16;
        while (size < names.size() * 2)
            size *= 2;
        m_slots.assign(size, -1);
        for (size_t i = 0; i < names.size(); ++i) {
            size_t slot = Hash(names[i]) & (size - 1);
            while (m_slots[slot] >= 0)
                slot = (slot + 1) & (size - 1);
            m_slots[slot] = int32_t(i);
        }
    }
    int32_t Find(std::string_view name) const
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = Hash(name) & mask; m_slots[slot] >= 0; slot = (slot + 1) & mask) {
            if (m_names[size_t(m_slots[slot])] == name)
                return m_slots[slot];
        }
        return -1;
    }

private:
    static uint64_t Hash(std::string_view name)
    {
        uint64_t hash = 14695981039346656037ull;
        for (const char c : name)
            hash = (hash ^ uint8_t(c)) * 1099511628211ull;
        return hash;
    }
    const std::vector<std::string>& m_names;
    std::vector<int32_t> m_slots;
};

struct FloorObject {
    float X, Z, Heading;
    int32_t Index;
};
struct FloorTemplate {
    int32_t Type, Approximation, Base, Route;
    uint32_t FirstObject, Objects;
};
struct FloorKeysite {
    int32_t Template;
    float X, Z;
};
struct FloorAirbase {
    float X, Z;
    int32_t Index;
};
struct FloorSam {
    float X, Z;
};
struct FloorFile {
    std::vector<FloorTemplate> Templates;
    std::vector<FloorObject> Objects;
    std::vector<FloorKeysite> Keysites;
    std::vector<FloorAirbase> Airbases;
    std::vector<FloorSam> Sams;
};

class CFloorParser {
public:
    CFloorParser(const QByteArray& bytes, const CFloorNames& names)
        : m_at(bytes.constData()), m_end(bytes.constData() + bytes.size()), m_names(names)
    {
    }

    bool Parse(FloorFile& file)
    {
        int32_t count;
        if (!Need(4))
            return false;
        count = Int();
        const bool extended = count < 0;
        count = extended ? -count : count;
        if (count < 0 || int64_t(count) * 16 > m_end - m_at)
            return false;
        file.Templates.reserve(size_t(count));
        for (int32_t t = 0; t < count; ++t) {
            if (!Need(8))
                return false;
            const int32_t objects = Int();
            FloorTemplate tmpl{Int(), 0, 0, 0, uint32_t(file.Objects.size()), 0};
            if (!Reference(tmpl.Approximation) || !Reference(tmpl.Base) || (extended && !Reference(tmpl.Route)))
                return false;
            if (objects > 0 && int64_t(objects) * 16 > m_end - m_at)
                return false;
            for (int32_t o = 0; o < objects; ++o) {
                if (!Need(16))
                    return false;
                FloorObject object{Float(), Float(), Float(), 0};
                if (!Name(object.Index))
                    return false;
                file.Objects.push_back(object);
            }
            tmpl.Objects = uint32_t(std::max(objects, 0));
            file.Templates.push_back(tmpl);
        }
        if (!Count(12, count))
            return false;
        file.Keysites.reserve(size_t(count));
        for (int32_t i = 0; i < count; ++i)
            file.Keysites.push_back({Int(), Float(), Float()});
        if (!Count(12, count))
            return false;
        file.Airbases.reserve(size_t(count));
        for (int32_t i = 0; i < count; ++i) {
            if (!Need(12))
                return false;
            FloorAirbase airbase{Float(), Float(), 0};
            if (!Name(airbase.Index))
                return false;
            file.Airbases.push_back(airbase);
        }
        if (!Count(8, count))
            return false;
        file.Sams.reserve(size_t(count));
        for (int32_t i = 0; i < count; ++i)
            file.Sams.push_back({Float(), Float()});
        return true;
    }

private:
    bool Need(int64_t bytes) const { return m_end - m_at >= bytes; }
    int32_t Int()
    {
        int32_t value;
        std::memcpy(&value, m_at, 4);
        m_at += 4;
        return value;
    }
    float Float()
    {
        float value;
        std::memcpy(&value, m_at, 4);
        m_at += 4;
        return value;
    }
    // Length checked, then the name looked up; the length field was checked with the record.
    bool Name(int32_t& index)
    {
        const int32_t length = Int();
        if (length < 0 || !Need(length))
            return false;
        index = m_names.Find(std::string_view(m_at, size_t(length)));
        m_at += length;
        return true;
    }
    bool Reference(int32_t& index)
    {
        if (!Need(4))
            return false;
        if (Int() == 0) {
            index = -2;
            return true;
        }
        return Need(4) && Name(index);
    }
    bool Count(int64_t recordBytes, int32_t& count)
    {
        if (!Need(4))
            return false;
        count = std::max(Int(), 0);
        return int64_t(count) * recordBytes <= m_end - m_at;
    }

    const char* m_at;
    const char* m_end;
    const CFloorNames& m_names;
};

void BM_LoadFloor(benchmark::State& state)
{
    const CFloorNames names(File().Catalogue.Names());
    for (auto _ : state) {
        QFile file(File().Path);
        file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        const QByteArray bytes = file.readAll();
        FloorFile parsed;
        if (!CFloorParser(bytes, names).Parse(parsed))
            state.SkipWithError("floor parse failed");
        benchmark::DoNotOptimize(parsed.Sams.data());
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

// --- Save beside an atomic write of the same bytes --------------------------------------------------

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

// --- 2,000,000 records -----------------------------------------------------------------------------

// What an atomic save cannot avoid: a buffer of the file's size filled, written to a temporary
// file beside the target and renamed over it.
void BM_RawWrite2M(benchmark::State& state)
{
    QFile in(File2M().Path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    for (auto _ : state) {
        QByteArray fresh(bytes.size(), Qt::Uninitialized);
        std::memcpy(fresh.data(), bytes.constData(), size_t(bytes.size()));
        SaveFileAtomically(File2M().OutPath, fresh);
    }
    SetBytes(state, File2M());
}

void BM_Save2M(benchmark::State& state)
{
    CBINFile doc(&File2M().Catalogue, &File2M().Types);
    doc.Load(File2M().Path);
    for (auto _ : state) {
        if (!doc.Save(File2M().OutPath, true))
            state.SkipWithError("save failed");
    }
    SetBytes(state, File2M());
}

MapRecordsView ViewOf(const CBINFile& doc) { return {doc.Templates(), doc.Keysites(), doc.Airbases(), doc.Sams()}; }

// A copy of every record's bytes into arrays of their own, allocated afresh: the least a snapshot
// that shares nothing with the document can do.
void BM_SnapshotFloor2M(benchmark::State& state)
{
    CBINFile doc(&File2M().Catalogue, &File2M().Types);
    doc.Load(File2M().Path);
    for (auto _ : state) {
        size_t objects = 0;
        for (const CPopTemplate& tmpl : doc.Templates())
            objects += tmpl.Objects.size();
        std::unique_ptr<CThreeDObject[]> copied(new CThreeDObject[objects]);
        CThreeDObject* at = copied.get();
        for (const CPopTemplate& tmpl : doc.Templates())
            at = std::copy(tmpl.Objects.begin(), tmpl.Objects.end(), at);
        std::vector<CKeysitePlacement> keysites(doc.Keysites().begin(), doc.Keysites().end());
        std::vector<CAirbasePlacement> airbases(doc.Airbases().begin(), doc.Airbases().end());
        std::vector<CSAMPlacement> sams(doc.Sams().begin(), doc.Sams().end());
        benchmark::DoNotOptimize(copied.get());
        benchmark::DoNotOptimize(sams.data());
    }
}

// What the window's thread does for a recovery copy now.
void BM_RecoverySnapshot2M(benchmark::State& state)
{
    CBINFile doc(&File2M().Catalogue, &File2M().Types);
    doc.Load(File2M().Path);
    for (auto _ : state) {
        const MapSnapshot snapshot = SnapshotOf(File2M().Catalogue, ViewOf(doc));
        benchmark::DoNotOptimize(snapshot.Objects.data());
    }
}

// What it did before: the whole copy written on the window's thread (the worker's share now).
void BM_RecoveryWrite2M(benchmark::State& state)
{
    CBINFile doc(&File2M().Catalogue, &File2M().Types);
    doc.Load(File2M().Path);
    const MapSnapshot snapshot = SnapshotOf(File2M().Catalogue, ViewOf(doc));
    for (auto _ : state)
        SaveFileAtomically(File2M().OutPath, WriteMapFile(snapshot, true));
    SetBytes(state, File2M());
}

} // namespace

BENCHMARK(BM_LoadFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite2M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save2M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotFloor2M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoverySnapshot2M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryWrite2M)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
