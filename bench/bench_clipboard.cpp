// Copy and paste of 10,000 records (6,000 keysites, spread over the list and carrying 1,000
// templates of 10 objects, 2,000 airbases and 2,000 SAM sites) in a session holding the 200,000
// records of a large campaign, each beside its floor in the same run: for Copy, writing the same
// records' text with the tool's own writer from records already gathered; for Paste, reading the
// same text back into records with the tool's own reader. Paste adds the records to the session
// (finding the keysites' templates among the map's 10,000) and selects them; its undo is not
// timed there; PasteUndo times it alone. Compare Copy / CopyFloor and Paste / PasteFloor.
//   build/bench/bench_clipboard --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "document/recordjson.h"
#include "document/recordtablemodel.h"
#include "document/storedrecords.h"
#include "platform/streams.h"
#include "session/campaignsession.h"
#include "session/recordclipboard.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct BigSession {
    QTemporaryDir Dir;
    C3DObjectsList Catalogue;
    CPopTemplatesTypesList Types;
    std::unique_ptr<CCampaignSession> Session;
    QByteArray Text;            // the copy of the chosen records
    StoredRecords ChosenStored; // the same records, gathered for the floor

    BigSession()
    {
        bench::FillCatalogue(Catalogue);
        const QString path = Dir.filePath(QStringLiteral("big.bin"));
        if (!bench::WriteBigCampaign(path, Catalogue, 200000))
            qFatal("cannot write the campaign");
        Session = std::make_unique<CCampaignSession>(Catalogue, Types, TextFormat{});
        if (!Session->LoadMapBin(path))
            qFatal("cannot load the campaign");
        Session->SetActiveList(RecordList::Keysites);
        Choose(RecordList::Keysites, 10);
        Choose(RecordList::Airbases, 7);
        Choose(RecordList::Sams, 7);
        Text = recordclipboard::CopyText(*Session);
        int line = 0;
        QString error;
        if (!recordjson::Read(Text, false, ChosenStored, line, error))
            qFatal("the copy does not read back");
        if (ChosenStored.Keysites.size() + ChosenStored.Airbases.size() + ChosenStored.Sams.size() != 10000)
            qFatal("the copy does not hold 10,000 placements");
    }
    // Every `step`-th record of the list, 6,000 keysites or 2,000 of the others.
    void Choose(RecordList list, int step)
    {
        const CRecordTableModel& model = Session->Model(list);
        const int count = list == RecordList::Keysites ? 6000 : 2000;
        QItemSelection selection;
        for (int i = 0; i < count; ++i)
            selection.select(model.index(i * step, 0), model.index(i * step, 0));
        Session->Selection(list).select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

BigSession& Big()
{
    static BigSession big;
    return big;
}

void BM_CopyFloor(benchmark::State& state)
{
    BigSession& big = Big();
    for (auto _ : state) {
        QByteArray text = recordjson::Text(big.ChosenStored);
        benchmark::DoNotOptimize(text.data());
    }
}

void BM_Copy(benchmark::State& state)
{
    BigSession& big = Big();
    for (auto _ : state) {
        QByteArray text = recordclipboard::CopyText(*big.Session);
        benchmark::DoNotOptimize(text.data());
    }
}

void BM_PasteFloor(benchmark::State& state)
{
    BigSession& big = Big();
    for (auto _ : state) {
        StoredRecords records;
        int line = 0;
        QString error;
        benchmark::DoNotOptimize(recordjson::Read(big.Text, false, records, line, error));
    }
}

void BM_Paste(benchmark::State& state)
{
    BigSession& big = Big();
    CEditHistory& history = big.Session->History();
    for (auto _ : state) {
        QString problem;
        CMissingNames missing;
        if (!recordclipboard::Paste(*big.Session, big.Text, std::nullopt, problem, missing))
            state.SkipWithError("the paste was refused");
        state.PauseTiming();
        history.Undo();
        state.ResumeTiming();
    }
}

// The undo of a paste: the records go, the selection the paste found comes back.
void BM_PasteUndo(benchmark::State& state)
{
    BigSession& big = Big();
    CEditHistory& history = big.Session->History();
    for (auto _ : state) {
        state.PauseTiming();
        QString problem;
        CMissingNames missing;
        if (!recordclipboard::Paste(*big.Session, big.Text, std::nullopt, problem, missing))
            state.SkipWithError("the paste was refused");
        state.ResumeTiming();
        history.Undo();
    }
}

} // namespace

BENCHMARK(BM_CopyFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteUndo)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
