#include "CommandSupport.h"

#include <sstream>

#include "Catalogue.h"
#include "ChangeSupport.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"
#include "ServerReports.h"
#include "ServerShare.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TargetFile.h"
#include "TextRules.h"

namespace {

constexpr int kNoSection = 60011;
constexpr int kNoParameter = 60012;
constexpr int kItHas = 60030;

std::string sectionLabel(const std::string& section) { return "[" + section + "]"; }

// " It has [IP]." when the file has a section of that name in another
// letter case; else "".
std::string otherCaseSection(const ParameterHandler& handler, const std::string& name) {
    for (int i = 0; i < handler.GetSectionCount(); ++i) {
        const std::string& other = handler.SectionAt(i).GetName();
        if (EqualIgnoringCase(other, name)) return " " + FormatString(kItHas, {sectionLabel(other)});
    }
    return "";
}

}  // namespace

SharePtr OpenShare(const Console& console, const std::string& share) {
    const std::string folder = MountedFolderOf(share);
    if (!folder.empty()) {
        if (const int problem = ShareFolderProblem(folder)) {
            console.SayUtf8(FormatString(problem, {ShownName(share)}));
            return nullptr;
        }
    }
    return OpenServerShareAt(share, folder, console.credentials);
}

int LoadTarget(const Console& console, const ShareOptions& options, int failureId, ParameterHandler& handler,
               TargetFile& target, bool forUpdate) {
    const SharePtr opened = OpenShare(console, options.share);
    if (!opened) return ExitFileError;
    target = ChooseFile(options.file);
    try {
        if (IsServerOnlyFile(*opened, target.name)) {
            console.Say(FormatString(kNotAParameterFile, {target.shown}));
            return ExitNotFoundOrInvalid;
        }
        if (forUpdate) {
            handler.LoadForUpdate(opened, target.name, CatalogueOf(target.kind));
        } else {
            handler.Load(opened, target.name, CatalogueOf(target.kind));
        }
        return ExitDone;
    } catch (const FileException& error) {
        return console.Failure(failureId, error, ExitFileError);
    }
}

bool ReadFirstLine(const Console& console, const Share& share, std::string& line) {
    const std::string path = share.PathOf(ServerFile::Configuration);
    const bool found = share.ReadFirstLine(path, line);
    if (!found) {
        console.SayUtf8(FormatString(StringId::EmptyFile, {ShownName(path)}));
        OfferRestore(console, path);
    }
    return found;
}

int SectionIndex(const ParameterHandler& handler, const std::string& name) {
    for (int i = 0; i < handler.GetSectionCount(); ++i) {
        if (handler.SectionAt(i).GetName() == name) return i;
    }
    return -1;
}

std::string ParameterLabel(const std::string& section, const std::string& key) {
    return section.empty() ? key : sectionLabel(section) + " " + key;
}

void SayMissing(const Console& console, const ParameterHandler& handler, const TargetFile& target,
                const std::string& section, int s, const std::string& key) {
    if (s < 0) {
        console.Say(FormatString(kNoSection, {sectionLabel(section), target.shown}) + otherCaseSection(handler, section));
        return;
    }
    std::string has;
    const ParameterSection& found = handler.SectionAt(s);
    for (int p = 0; p < found.GetParameterCount() && has.empty(); ++p) {
        const std::string& other = found.ParameterAt(p).GetKey();
        if (EqualIgnoringCase(other, key)) has = " " + FormatString(kItHas, {ParameterLabel(section, other)});
    }
    console.Say(FormatString(kNoParameter, {ParameterLabel(section, key), target.shown}) + has);
}

bool TakeEntered(const Console& console, const Parameter& loaded, const std::string& text, EntryPurpose purpose,
                 std::string& value) {
    std::ostringstream said;
    const bool taken = TakeEnteredValue(loaded, text, purpose, said, value);
    const std::string messages = said.str();
    if (!messages.empty()) console.err << console.text.FromServer(messages);
    return taken;
}

void PrintJsonText(std::ostream& out, const std::string& text) {
    out << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (byte < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out << "\\u00" << hex[byte >> 4] << hex[byte & 0xF];
        } else {
            out << c;
        }
    }
    out << '"';
}

void PrintJsonString(std::ostream& out, const std::string& bytes) { PrintJsonText(out, Cp1252ToUtf8(bytes)); }

void PrintFields(const Console& console, const std::vector<Field>& fields, bool json) {
    if (!json) {
        for (const Field& field : fields) console.Print(field.name + ": " + field.value + "\n");
        return;
    }
    const char* separator = "{\n  ";
    for (const Field& field : fields) {
        console.out << separator << '"' << field.name << "\": ";
        if (field.number) {
            console.out << field.value;
        } else {
            PrintJsonString(console.out, field.value);
        }
        separator = ",\n  ";
    }
    console.out << "\n}\n";
}

void PrintListing(const Console& console, const std::vector<std::pair<std::string, std::string>>& entries, bool json,
                  const char* key) {
    if (!json) {
        for (const auto& [line, name] : entries) {
            console.PrintUtf8(EscapeControls(line) + '\t' + EscapeControls(name) + '\n');
        }
        return;
    }
    console.out << '[';
    for (size_t i = 0; i < entries.size(); ++i) {
        console.out << (i == 0 ? "\n  {\"line\": " : ",\n  {\"line\": ");
        PrintJsonText(console.out, entries[i].first);
        console.out << ", \"" << key << "\": ";
        PrintJsonText(console.out, entries[i].second);
        console.out << '}';
    }
    console.out << (entries.empty() ? "]\n" : "\n]\n");
}

int PrintReport(const Console& console, const ShareOptions& options, const ServerReport& report) {
    const SharePtr opened = OpenShare(console, options.share);
    if (!opened) return ExitFileError;
    try {
        if (!options.json) {
            // Printed piece by piece: a large report is held only as its bytes.
            StreamReport(*opened, report, [&](std::string_view piece) { console.Print(std::string(piece)); });
            return ExitDone;
        }
        const ReportText text = ReadReport(*opened, report);
        bool first = true;
        console.out << '[';
        text.ForEachLine([&](std::string_view line) {
            console.out << (first ? "\n  " : ",\n  ");
            first = false;
            PrintJsonString(console.out, std::string(line));
        });
        console.out << (first ? "]\n" : "\n]\n");
    } catch (const StoreError& error) {
        return console.Failure(report.unreadableMessage, error, ExitFileError);
    }
    return ExitDone;
}
