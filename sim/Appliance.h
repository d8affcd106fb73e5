#pragma once

#include <sys/stat.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RefusalRule.h"
#include "ServerForm.h"

// What the simulator is told on its command line.
struct SimSettings {
    std::string stateDir;
    std::string mountPoint;
    std::optional<bool> hd;  // the model; unset: as the state's product line says
    std::string version;     // empty: as the state's product line says
    std::string serial;      // likewise
    int latencyMs = 0;
    int restartSeconds = 3;
    std::vector<std::string> refusals;  // SECTION/KEY=PATTERN, as given
    std::string statsFile;
    bool trace = false;
    bool foreground = false;
    // Refuse a read-write open of an existing file ("Operation not
    // supported"), as the desktop's SMB mounts do: writers must replace
    // the whole file through a truncating open.
    bool noReadWriteOpen = false;
};

// The simulated server: its files in the state folder, what it keeps of a
// file a client writes, its restarts and its log. Knows nothing of the file
// system that shows the files; it names them relative to the state folder,
// spelled as they are stored there ("Config/Config.ini").
class Appliance {
public:
    // Takes over the state folder: poses as the unit its configuration file
    // names (or as settings say), writes that file in the server's form and
    // keeps a copy of every parameter file for the factory defaults. Throws
    // std::runtime_error.
    explicit Appliance(const SimSettings& settings);

    // A folder or regular file of the share.
    struct Entry {
        std::string relative;
        struct stat info {};
    };
    // Finds a path as a client gives it ("/config/CONFIG.INI"), each name
    // matched without regard to case as the appliance's share does. Nothing
    // but folders and regular files is found, so no link leads out.
    bool Find(const std::string& clientPath, Entry& entry) const;
    std::string FullPath(const std::string& relative) const { return root + "/" + relative; }
    std::string ReadFile(const std::string& relative) const;

    // The files the server takes writes to; all others are read-only.
    bool IsParameterFile(const std::string& relative) const { return snapshot.count(relative) != 0; }

    // The server saves a file under this prefix first, then gives it the
    // file's name. Such a name is no file of the share: it is never found or
    // listed, in any case.
    static constexpr const char* SavingPrefix = ".tessaron-sim-saving.";
    static bool IsSaving(const std::string& name);

    // True while the server restarts, when no file can be opened. Completes
    // a restart whose time has come.
    bool Restarting();
    // Counts the server's restarts begun: what was opened before one is
    // closed by it, as a real server forgets its clients' open files.
    unsigned long Run() const { return run; }
    // The server's part of a write: everything a client wrote to a parameter
    // file, handed over when the writer closes it.
    void TakeWrittenFile(const std::string& relative, const std::string& bytes);
    // Completes a restart still under way, so the state folder is left as the
    // server would leave it.
    void Finish();

private:
    void collectFiles(const std::string& relative, int depth, std::vector<std::string>& files) const;
    bool parameterExists(const std::string& section, const std::string& key) const;
    void writeServerForm(const std::string& relative, const ParameterHandler& kept);
    void beginRestart(bool factoryDefaults);
    void completeRestart();
    void log(const std::string& line) const;

    std::string root;
    bool echoLog;
    UnitIdentity unit;
    std::chrono::seconds restartTime;
    std::string config;      // the configuration file
    std::string logFile;     // where the server logs (created when missing)
    std::string statistics;  // the statistics file (likewise)
    std::map<std::string, std::string> snapshot;            // every parameter file as it was at start
    std::map<std::string, std::vector<std::string>> heads;  // the remarks heading each
    std::vector<RefusalRule> rules;
    std::optional<std::chrono::steady_clock::time_point> restartDue;
    bool factoryDefaultsDue = false;
    unsigned long run = 0;
};
