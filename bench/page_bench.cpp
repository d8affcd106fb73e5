// Time to activate a configuration tab of 16 rows: the tab that is left is
// read back and torn down, the new one reloads the file, builds its rows and
// exchanges their values both ways. Runs offscreen.
//
// With TESSARON_BENCH_SHARE set it also times the same on that share (the
// simulated appliance, say), switching between its first two tabs, and with
// TESSARON_BENCH_STATS naming the simulator's --stats file it counts the
// file system operations of each switch.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ConfigApp.h"
#include "ConfigPropertySheet.h"
#include "TemplatePage.h"

namespace {

namespace fs = std::filesystem;

// A share whose configuration file holds two sections of 16 rows each, half
// choice lists (the time zones among them), half checked edits.
class BenchShare {
public:
    BenchShare() {
        std::string pattern = (fs::temp_directory_path() / "tessaron-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root = pattern;
        fs::create_directories(root / "Config");
        // The product line, a remark as the server writes it.
        std::string text = "; QUOR Tessaron CD-ROM Server V4.00 (c) QUOR   S/N: 1-2\r\n";
        for (const char* section : {"Server", "IP"}) {
            text += std::string("[") + section + "]\r\n";
            text += "TimeZone = Central_Europe\r\n";
            for (int i = 1; i < 8; ++i) text += "Choice" + std::to_string(i) + " = yes ; yes/no/auto\r\n";
            text += "InternetAddress = 192.168.1.50\r\nDefaultRouter = 192.168.1.1\r\nNetMask = 255.255.255.0\r\n";
            for (int i = 3; i < 8; ++i) text += "Value" + std::to_string(i) + " = text" + std::to_string(i) + "\r\n";
        }
        text += "[END]\r\n";
        std::ofstream(root / "Config" / "Config.ini", std::ios::binary) << text;
    }
    ~BenchShare() { fs::remove_all(root); }
    std::string Root() const { return root.string(); }

private:
    fs::path root;
};

void ActivateSixteenRowTab(benchmark::State& state) {
    BenchShare share;
    ConfigApp app;
    app.SetServerPath(share.Root());
    QWidget host;
    host.resize(640, 480);
    auto* sheet = new ConfigPropertySheet(&host);
    host.show();
    QCoreApplication::processEvents();
    if (sheet->count() != 2 || sheet->PageAt(0)->Working().GetParameterCount() != 16) {
        state.SkipWithError("the bench share did not give two tabs of 16 rows");
        return;
    }
    int next = 1;
    for (auto _ : state) {
        sheet->SetActivePage(next);
        next = 1 - next;
    }
    state.counters["rows"] = sheet->PageAt(1 - next)->Working().GetParameterCount();
}
BENCHMARK(ActivateSixteenRowTab)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The operations count the simulator keeps in its --stats file, or 0.
long operationsSoFar() {
    const char* stats = std::getenv("TESSARON_BENCH_STATS");
    std::ifstream in(stats ? stats : "");
    std::string word;
    long count = 0;
    in >> word >> count;
    return word == "operations" ? count : 0;
}

void ActivateTabOnShare(benchmark::State& state) {
    ConfigApp app;
    app.SetServerPath(std::getenv("TESSARON_BENCH_SHARE"));
    QWidget host;
    host.resize(640, 480);
    auto* sheet = new ConfigPropertySheet(&host);
    host.show();
    QCoreApplication::processEvents();
    if (sheet->count() < 2) {
        state.SkipWithError("the share did not give two tabs");
        return;
    }
    int next = 1;
    const long before = operationsSoFar();
    for (auto _ : state) {
        sheet->SetActivePage(next);
        next = 1 - next;
    }
    state.counters["fs_ops"] = static_cast<double>(operationsSoFar() - before) / static_cast<double>(state.iterations());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (std::getenv("TESSARON_BENCH_SHARE")) {
        benchmark::RegisterBenchmark("ActivateTabOnShare", ActivateTabOnShare)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
