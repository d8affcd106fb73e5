// The commands of tessaron-ctl. A new command is a file of its own that
// defines its CtlCommand and a Make function, and a row here.
#include "CtlCommand.h"

std::unique_ptr<CtlCommand> MakeIdentifyCommand();
std::unique_ptr<CtlCommand> MakeInfoCommand();
std::unique_ptr<CtlCommand> MakeStatsCommand();
std::unique_ptr<CtlCommand> MakeLogCommand();
std::unique_ptr<CtlCommand> MakeGetCommand();
std::unique_ptr<CtlCommand> MakeFormatCommand();
std::unique_ptr<CtlCommand> MakeDescribeCommand();
std::unique_ptr<CtlCommand> MakeCheckCommand();
std::unique_ptr<CtlCommand> MakeSetCommand();
std::unique_ptr<CtlCommand> MakeRestartCommand();
std::unique_ptr<CtlCommand> MakeVolumesCommand();
std::unique_ptr<CtlCommand> MakeDrivesCommand();
std::unique_ptr<CtlCommand> MakeDiffCommand();
std::unique_ptr<CtlCommand> MakeHistoryCommand();
std::unique_ptr<CtlCommand> MakeUndoCommand();
std::unique_ptr<CtlCommand> MakeRestoreCommand();
std::unique_ptr<CtlCommand> MakeApplyCommand();

std::span<const CommandRow> CommandTable() {
    constexpr unsigned reader = TakesShare | TakesJson;  // reads the share, prints text or JSON
    constexpr const char* kDryRunJson = "With --dry-run: print the changes as a JSON object";
    static const CommandRow rows[] = {
        {"identify", "Show product, software version, kind and serial number", reader, "Print a JSON object",
         MakeIdentifyCommand},
        {"info", "Show serial number, software version, kind, names and addresses", reader, "Print a JSON object",
         MakeInfoCommand},
        {"stats", "Print the server's statistics", reader, "Print a JSON array of the lines", MakeStatsCommand},
        {"log", "Print the server's event log", reader, "Print a JSON array of the lines", MakeLogCommand},
        {"get", "Print the value of one parameter", TakesShare | TakesFile, nullptr, MakeGetCommand},
        {"format", "Print a parameter file in its canonical written form", 0, nullptr, MakeFormatCommand},
        {"describe", "List every parameter with its name, type and check", reader | TakesFile,
         "Print a JSON array of objects", MakeDescribeCommand},
        {"check", "Check a value as a configuration page would take it", 0, nullptr, MakeCheckCommand},
        {"set", "Change parameters and have the server confirm them",
         TakesShare | TakesFile | TakesJson | EndsOptionsAtDashes, kDryRunJson, MakeSetCommand},
        {"restart", "Ask the server to restart", TakesShare | TakesJson, kDryRunJson, MakeRestartCommand},
        {"volumes", "List the volume rights files (as --file takes them)", reader, "Print a JSON array of objects",
         MakeVolumesCommand},
        {"drives", "List the SCSI drives of scsi.ini with their drive names", reader, "Print a JSON array of objects",
         MakeDrivesCommand},
        {"diff", "Compare the share's file with a file or another share, parameter by parameter",
         reader | TakesFile, "Print a JSON object of the differences", MakeDiffCommand},
        {"history", "List the writes kept in the history of changes, newest first", reader | TakesFile,
         "Print a JSON array of objects (with --show: the changes as set --dry-run --json does)",
         MakeHistoryCommand},
        {"undo", "Set back what a recorded write changed", TakesShare | TakesJson, kDryRunJson, MakeUndoCommand},
        {"restore", "Write back the bytes a recorded write wrote", TakesShare | TakesJson, kDryRunJson,
         MakeRestoreCommand},
        {"apply", "Bring files of the share to the values a JSON document gives", TakesShare | TakesJson,
         "Print a JSON object of what became of each file", MakeApplyCommand},
    };
    return rows;
}
