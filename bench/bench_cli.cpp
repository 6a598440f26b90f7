// sablemap-cli at scale, the real tool in a process of its own as a script runs it:
// - BM_Diff: diff of a file of 200,000 or 2,000,000 records and a copy with a few records moved
//   and edited; floor: to-json of the same two files (diff_over_floor, at most 2). Linear: the
//   time at 2,000,000 over that at 200,000, at most 11.
// - BM_StartUp: to-json of a file of one record beside bench_startfloor, a bare Qt Core program
//   that reads the same file (cpu_over_floor and wall_over_floor, at most 1.5).
// - BM_RenderHop: sablemap-cli render of a small picture of the demonstration's map beside the
//   same run of sablemap-cli-render itself, the price of handing render over
//   (cpu_over_floor and wall_over_floor, close to 1).
// - BM_FromJsonMemory: from-json of 200,000 records; its peak memory beside the Map BIN file it
//   writes (rss_over_output), and the same less the peak of from-json of one record, the memory
//   the records themselves need (need_over_output, at most 3).
//   build/bench/bench_cli --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"

#include "document/storedrecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Run {
    int Status = -1;
    double Seconds = 0; // wall
    double Cpu = 0;     // user and system
    double MaxRss = 0;  // bytes
};

// Runs `program` with its output into `output` (/dev/null when empty).
Run RunProgram(const char* program, const std::vector<QByteArray>& args, const QByteArray& output = QByteArray())
{
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const QByteArray& arg : args)
        argv.push_back(const_cast<char*>(arg.constData()));
    argv.push_back(nullptr);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int out = output.isEmpty() ? open("/dev/null", O_WRONLY)
                                         : open(output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.MaxRss = double(usage.ru_maxrss) * 1024.0;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Run Cli(const std::vector<QByteArray>& args, const QByteArray& output = QByteArray())
{
    return RunProgram(SABLEMAP_CLI, args, output);
}

QByteArray Name(const QString& path) { return QFile::encodeName(path); }

struct Inputs {
    QTemporaryDir Dir;
    std::map<int, std::pair<QString, QString>> Pairs; // by records: A, and B with a few changes
    std::map<int, QString> Jsons;

    const std::pair<QString, QString>& Pair(int records)
    {
        auto& pair = Pairs[records];
        if (!pair.first.isEmpty())
            return pair;
        C3DObjectsList catalogue(QLocale::c());
        bench::FillCatalogue(catalogue);
        pair.first = Dir.filePath(QStringLiteral("a-%1.BIN").arg(records));
        pair.second = Dir.filePath(QStringLiteral("b-%1.BIN").arg(records));
        bench::WriteBigCampaign(pair.first, catalogue, records);
        // A modder's day: a SAM site moved, two keysites swapped, a template object edited, an
        // airbase added.
        StoredRecords edited;
        QString reason;
        if (LoadStoredRecords(pair.first, false, edited, &reason)) {
            edited.Sams[edited.Sams.size() / 2].X += 100;
            std::swap(edited.Keysites[10], edited.Keysites[edited.Keysites.size() - 10]);
            edited.Templates[3].Objects[2].Heading = 45;
            edited.Airbases.push_back({1000, 2000, edited.Airbases[0].ObjectIndex});
            QFile out(pair.second);
            if (out.open(QIODevice::WriteOnly))
                out.write(edited.Write());
        }
        return pair;
    }

    const QString& Json(int records)
    {
        QString& path = Jsons[records];
        if (path.isEmpty()) {
            path = Dir.filePath(QStringLiteral("a-%1.json").arg(records));
            Cli({"to-json", Name(Pair(records).first)}, Name(path));
        }
        return path;
    }

    QString OneRecord()
    {
        const QString path = Dir.filePath(QStringLiteral("one.BIN"));
        if (!QFile::exists(path)) {
            StoredRecords records;
            records.Sams.push_back({1000, 2000});
            QFile out(path);
            if (out.open(QIODevice::WriteOnly))
                out.write(records.Write());
        }
        return path;
    }
};

Inputs& TheInputs()
{
    static Inputs inputs;
    return inputs;
}

void BM_Diff(benchmark::State& state)
{
    const auto& [a, b] = TheInputs().Pair(int(state.range(0)));
    double diff = 0, floor = 0;
    for (auto _ : state) {
        const Run run = Cli({"diff", Name(a), Name(b)});
        if (run.Status != 1)
            state.SkipWithError("diff did not answer 1");
        state.SetIterationTime(run.Seconds);
        diff += run.Seconds;
        floor += Cli({"to-json", Name(a)}).Seconds + Cli({"to-json", Name(b)}).Seconds;
    }
    state.counters["floor_ms"] = benchmark::Counter(floor * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["diff_over_floor"] = diff / floor;
}

// Runs the tool and its floor program `runs` times an iteration, side by side so that both see the
// same machine, and reports the tool's CPU and wall time as ratios to the floor's.
void TimeAgainstFloor(benchmark::State& state, int runs, const std::vector<QByteArray>& toolArgs,
                      const char* floorProgram, const std::vector<QByteArray>& floorArgs)
{
    double cpu = 0, wall = 0, floorCpu = 0, floorWall = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (int i = 0; i < runs; ++i) {
            const Run tool = Cli(toolArgs);
            const Run floor = RunProgram(floorProgram, floorArgs);
            if (tool.Status != 0 || floor.Status != 0)
                state.SkipWithError("a run failed");
            seconds += tool.Seconds;
            cpu += tool.Cpu;
            wall += tool.Seconds;
            floorCpu += floor.Cpu;
            floorWall += floor.Seconds;
        }
        state.SetIterationTime(seconds / runs);
    }
    state.counters["cpu_over_floor"] = cpu / floorCpu;
    state.counters["wall_over_floor"] = wall / floorWall;
    state.counters["floor_cpu_ms"] = floorCpu * 1e3 / double(state.iterations() * runs);
}

void BM_StartUp(benchmark::State& state)
{
    const QByteArray one = Name(TheInputs().OneRecord());
    TimeAgainstFloor(state, 20, {"to-json", one}, SABLEMAP_STARTFLOOR, {one});
}

void BM_RenderHop(benchmark::State& state)
{
    const QString demo = TheInputs().Dir.filePath(QStringLiteral("demo"));
    if (!QFile::exists(demo))
        Cli({"demo", Name(demo)});
    const std::vector<QByteArray> args{"render",
                                       Name(demo + QStringLiteral("/common/maps/map_sable_coast")),
                                       Name(TheInputs().Dir.filePath(QStringLiteral("hop.png"))),
                                       "--size",
                                       "40",
                                       "30"};
    // The floor: the renderer run directly, without the hop through sablemap-cli.
    TimeAgainstFloor(state, 10, args, SABLEMAP_CLI_RENDER, args);
}

void BM_FromJsonMemory(benchmark::State& state)
{
    const QString& json = TheInputs().Json(int(state.range(0)));
    const QString out = TheInputs().Dir.filePath(QStringLiteral("from.BIN"));
    const QString oneJson = TheInputs().Dir.filePath(QStringLiteral("one.json"));
    Cli({"to-json", Name(TheInputs().OneRecord())}, Name(oneJson));
    double peak = 0, base = 0;
    for (auto _ : state) {
        const Run run = Cli({"from-json", Name(json), Name(out)});
        if (run.Status != 0)
            state.SkipWithError("from-json failed");
        state.SetIterationTime(run.Seconds);
        peak = std::max(peak, run.MaxRss);
        base = std::max(base, Cli({"from-json", Name(oneJson), Name(out + QStringLiteral(".one"))}).MaxRss);
    }
    const double output = double(QFile(out).size());
    state.counters["json_MB"] = double(QFile(json).size()) / 1e6;
    state.counters["output_MB"] = output / 1e6;
    state.counters["max_rss_MB"] = peak / 1e6;
    state.counters["rss_over_output"] = peak / output;
    state.counters["need_over_output"] = (peak - base) / output;
}

} // namespace

BENCHMARK(BM_Diff)->Arg(200000)->Arg(2000000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderHop)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromJsonMemory)->Arg(200000)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
