// Time to open the event log view on a log of 50,000 lines: the file read
// and split into lines, the list filled, the window shown and its rows laid
// out and painted once. Runs offscreen; the target is under 200 ms.
//
// With --open SHARE it opens the view once on that share's event log and
// ends, so that bench/large-files can measure the view's memory.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ConfigApp.h"
#include "ServerTextList.h"
#include "ServerTextViewDlg.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 50000;

// A share whose event log holds kLines lines of the usual kinds, one of
// them far wider than the view.
class LogShare {
public:
    LogShare() {
        std::string pattern = (fs::temp_directory_path() / "tessaron-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root = pattern;
        fs::create_directories(root / "Config");
        std::ofstream(root / "Config" / "Config.ini", std::ios::binary)
            << "QUOR Tessaron CD-ROM Server V4.00 S/N: 1\r\n[Server]\r\nRestart = no\r\n[END]\r\n";
        std::ofstream log(root / "Config" / "Logfile.txt", std::ios::binary);
        const char* events[] = {"SMB: user GUEST connected to CDROM1", "NetWare: ADMIN logged in from PC-BUCH",
                                "ID3_LUN0: read error at sector 220797, retried",
                                "HTTP: 192.168.1.88 GET /cd/CDROM2/ 200"};
        for (int i = 0; i < kLines; ++i) {
            log << "98-01-" << 10 + i % 20 << " 12:" << 10 + i % 50 << ":" << 10 + i % 49 << "  " << events[i % 4];
            if (i == kLines / 2) log << std::string(300, '.');
            log << "\r\n";
        }
    }
    ~LogShare() { fs::remove_all(root); }
    std::string Root() const { return root.string(); }

private:
    fs::path root;
};

void OpenEventLogOf50000Lines(benchmark::State& state) {
    LogShare share;
    ConfigApp app;
    app.SetServerPath(share.Root());
    QWidget owner;
    int lines = 0;
    for (auto _ : state) {
        ServerTextViewDlg view(false, &owner);
        view.EnsureCreated();
        view.show();
        view.List()->viewport()->repaint();
        lines = view.List()->LineCount();
        state.PauseTiming();
        view.hide();
        state.ResumeTiming();
    }
    if (lines != kLines) state.SkipWithError("the view did not show every line");
    state.counters["lines"] = lines;
}
BENCHMARK(OpenEventLogOf50000Lines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Opens the event log view of share once, shown and painted.
int openOnce(const char* share) {
    ConfigApp app;
    app.SetServerPath(share);
    ServerTextViewDlg view(false);
    view.EnsureCreated();
    view.show();
    view.List()->viewport()->repaint();
    return view.List()->LineCount() >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--open") return openOnce(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
