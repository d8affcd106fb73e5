// Loading and writing a parameter file of 1,000, 10,000 and 100,000 lines,
// compared with reading the same file through QSettings.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "Catalogue.h"
#include "ParameterHandler.h"

#ifdef TESSARON_BENCH_QT
#include <QCoreApplication>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#endif

namespace {

namespace fs = std::filesystem;

// A configuration file as the server writes it: one section per 100
// parameter lines, one key in ten repeating an earlier key of its section,
// remarks now and then, CR LF line ends.
std::string GenerateFile(int parameterLines) {
    std::string text = "QUOR Tessaron CD V4.00 S/N: 1234\r\n";
    for (int line = 0; line < parameterLines; ++line) {
        const int inSection = line % 100;
        if (inSection == 0) {
            text += "\r\n[Section" + std::to_string(line / 100) + "]\r\n";
            text += "; settings of this group\r\n";
        }
        const int key = inSection % 10 == 9 ? inSection - 4 : inSection;
        text += "Parameter" + std::to_string(key) + " = value" + std::to_string(line);
        if (line % 7 == 0) text += "   ; a remark";
        text += "\r\n";
    }
    text += "[END]\r\n";
    return text;
}

// The generated files, made once per run in a folder removed at exit.
class Files {
public:
    Files() {
        std::string pattern = (fs::temp_directory_path() / "tessaron-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
    }
    ~Files() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string PathFor(int lines) {
        auto found = paths.find(lines);
        if (found != paths.end()) return found->second;
        const std::string path = (folder / ("Config" + std::to_string(lines) + ".ini")).string();
        std::ofstream(path, std::ios::binary) << GenerateFile(lines);
        paths.emplace(lines, path);
        return path;
    }

private:
    fs::path folder;
    std::map<int, std::string> paths;
};

Files& GeneratedFiles() {
    static Files files;
    return files;
}

void BM_Load(benchmark::State& state) {
    const std::string path = GeneratedFiles().PathFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ParameterHandler handler;
        handler.Load(OpenLocalFiles(), path, CatalogueOf(Configuration));
        benchmark::DoNotOptimize(handler.GetSectionCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(path)));
}

void BM_Format(benchmark::State& state) {
    ParameterHandler handler;
    handler.Load(OpenLocalFiles(), GeneratedFiles().PathFor(static_cast<int>(state.range(0))), CatalogueOf(Configuration));
    for (auto _ : state) benchmark::DoNotOptimize(handler.Format());
}

void BM_Write(benchmark::State& state) {
    const std::string path = GeneratedFiles().PathFor(static_cast<int>(state.range(0)));
    ParameterHandler handler;
    handler.Load(OpenLocalFiles(), path, CatalogueOf(Configuration));
    for (auto _ : state) handler.Write();
}

// One list key repeated on every line: its values gather into one value, which
// must cost time in proportion to the count, not its square.
void BM_ReadRepeatedKey(benchmark::State& state) {
    std::string text = "[S]\n";
    for (int64_t i = 0; i < state.range(0); ++i) text += "NFSUser = " + std::to_string(i % 1000) + "\n";
    for (auto _ : state) {
        ParameterHandler handler;
        handler.ReadText(text);
        benchmark::DoNotOptimize(handler.GetSectionCount());
    }
}

#ifdef TESSARON_BENCH_QT
// QSettings reading every value of the same file.
void BM_QSettingsLoad(benchmark::State& state) {
    const QString path = QString::fromStdString(GeneratedFiles().PathFor(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        for (const QString& key : keys) benchmark::DoNotOptimize(settings.value(key));
        benchmark::DoNotOptimize(keys.size());
    }
}
BENCHMARK(BM_QSettingsLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Format)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRepeatedKey)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
#ifdef TESSARON_BENCH_QT
    QCoreApplication application(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
