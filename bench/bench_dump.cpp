// sablemap-cli dump of files of 100,000 and 1,000,000 records, as a script would run it: the real
// tool in a process of its own, its output into /dev/null. Reported per run: the time, the peak
// memory of the process (max_rss_MB) beside the file's size (file_MB, rss_per_file). Linear time:
// the time of 1,000,000 records over that of 100,000, at most 11. Argument 2: with the catalogue
// (1) or without (0), when every name is missing from it.
//   build/bench/bench_dump --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "demo/democampaign.h"

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

struct Inputs {
    QTemporaryDir Dir;
    QString Catalogue = Dir.filePath(QStringLiteral("bininfo.bin"));
    std::map<int, QString> Files; // by records

    Inputs()
    {
        QFile file(Catalogue);
        if (file.open(QIODevice::WriteOnly))
            file.write(demo::CatalogueBytes(bench::CatalogueNames()));
    }

    const QString& File(int records)
    {
        QString& path = Files[records];
        if (path.isEmpty()) {
            C3DObjectsList catalogue(QLocale::c());
            bench::FillCatalogue(catalogue);
            path = Dir.filePath(QStringLiteral("campaign-%1.bin").arg(records));
            bench::WriteBigCampaign(path, catalogue, records);
        }
        return path;
    }
};

Inputs& TheInputs()
{
    static Inputs inputs;
    return inputs;
}

// Runs the tool with its output into /dev/null; the seconds it took and its peak memory in bytes.
bool RunTool(const std::vector<QByteArray>& args, double& seconds, double& maxRss)
{
    std::vector<char*> argv{const_cast<char*>(SABLEMAP_CLI)};
    for (const QByteArray& arg : args)
        argv.push_back(const_cast<char*>(arg.constData()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return false;
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    maxRss = double(usage.ru_maxrss) * 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_Dump(benchmark::State& state)
{
    const QString& path = TheInputs().File(int(state.range(0)));
    std::vector<QByteArray> args{"dump", QFile::encodeName(path)};
    if (state.range(1) != 0)
        args.insert(args.end(), {"--catalogue", QFile::encodeName(TheInputs().Catalogue)});
    double peak = 0;
    for (auto _ : state) {
        double seconds = 0;
        double rss = 0;
        if (!RunTool(args, seconds, rss))
            state.SkipWithError("dump failed");
        state.SetIterationTime(seconds);
        peak = std::max(peak, rss);
    }
    const double file = double(QFile(path).size());
    state.counters["file_MB"] = file / 1e6;
    state.counters["max_rss_MB"] = peak / 1e6;
    state.counters["rss_per_file"] = peak / file;
}

} // namespace

BENCHMARK(BM_Dump)
    ->ArgsProduct({{100000, 1000000}, {1, 0}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
