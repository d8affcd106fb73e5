#include "ServerForm.h"

#include "ServerReports.h"
#include "ShareFile.h"
#include "TextRules.h"

namespace {

// A file's lines in text mode (a carriage return before a line feed dropped).
std::vector<std::string> linesOf(const std::string& text) { return ReportLines(TextOfBytes(text)); }

// The column at which the server starts the remark beside a value.
constexpr size_t kRemarkColumn = 38;

void appendParameterLine(std::string& out, const Parameter& parameter, const std::string& value) {
    std::string line = (parameter.GetIndented() ? "  " : "") + parameter.GetKey() + " = " + value;
    // A remark after a free-text comment would become part of its value.
    if (!parameter.GetComment().empty() && parameter.GetKey() != "Comment") {
        line.append(line.size() < kRemarkColumn ? kRemarkColumn - line.size() : 1, ' ');
        line += "; " + parameter.GetComment();
    }
    out += line + '\n';
}

// The items of a list value, one line each; an empty value is one empty item.
std::vector<std::string> itemsOf(const std::string& value) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t end = value.find(';', start);
        std::string item = TrimWhiteSpace(value.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!item.empty()) items.push_back(std::move(item));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (items.empty()) items.emplace_back();
    return items;
}

// Lists that a client leaves out of the file entirely when they are empty.
bool isListKey(const std::string& key) {
    return key == "SMBPassword" || key == "NetWareUser/Group" || key == "NFSIPAddress" || key == "NFSGroup" ||
           key == "NFSUser";
}

// The server's clock: set only by a value carrying the write mark "!".
bool isClock(const std::string& section, const std::string& key) {
    return section == "Server" && (key == "Date" || key == "Time");
}

const ParameterSection* sectionNamed(const ParameterHandler& handler, const std::string& name) {
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        if (handler.SectionAt(s).GetName() == name) return &handler.SectionAt(s);
    }
    return nullptr;
}

std::string label(const std::string& section, const std::string& key) {
    return section.empty() ? key : "[" + section + "] " + key;
}

bool refused(const std::vector<RefusalRule>& rules, const std::string& section, const std::string& key,
             const std::string& value) {
    for (const RefusalRule& rule : rules) {
        if (rule.Refuses(section, key, value)) return true;
    }
    return false;
}

}  // namespace

std::string ProductLine(const UnitIdentity& unit) {
    // A unit is taken for an HD server when its line names "HD" and "JQ"
    // but not "CD"; "CD" anywhere makes it a CD-ROM server.
    const std::string model = unit.hd ? "QUOR Tessaron HD Server (JQ series)" : "QUOR Tessaron CD-ROM Server";
    return "; " + model + " V" + unit.version + " (c) 1997-1999 QUOR Systems GmbH   S/N: " + unit.serial;
}

std::vector<std::string> LeadingRemarks(const std::string& text) {
    std::vector<std::string> head;
    for (const std::string& line : linesOf(text)) {
        const std::string content = TrimWhiteSpace(line);
        if (!content.empty() && content[0] != ';') break;
        head.push_back(line);
    }
    return head;
}

bool IsCompleteFile(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const std::string content = TrimWhiteSpace(*line);
        if (!content.empty()) return content == "[END]";
    }
    return false;
}

std::string ComposeServerForm(const std::vector<std::string>& head, const ParameterHandler& kept) {
    std::string out;
    for (const std::string& line : head) out += line + '\n';
    bool first = true;
    for (int s = 0; s < kept.GetSectionCount(); ++s) {
        const ParameterSection& section = kept.SectionAt(s);
        std::string lines;
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            // A line that was neither a parameter nor a header is not the server's.
            if (parameter.GetKey().empty()) continue;
            if (parameter.GetKey() == "Comment") {
                appendParameterLine(lines, parameter, parameter.GetValue());
                continue;
            }
            for (const std::string& item : itemsOf(parameter.GetValue())) appendParameterLine(lines, parameter, item);
        }
        if (lines.empty()) continue;
        if (!first) out += '\n';
        first = false;
        if (!section.GetName().empty()) out += "[" + section.GetName() + "]\n";
        out += lines;
    }
    return out + "[END]\n";
}

std::vector<std::string> KeepWrittenValues(ParameterHandler& kept, const ParameterHandler& written,
                                           const std::vector<RefusalRule>& rules) {
    std::vector<std::string> log;
    for (int s = 0; s < kept.GetSectionCount(); ++s) {
        ParameterSection& section = kept.SectionAt(s);
        const ParameterSection* from = sectionNamed(written, section.GetName());
        if (!from) continue;  // a section not sent keeps all its values
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            Parameter& parameter = section.ParameterAt(p);
            const std::string& key = parameter.GetKey();
            if (key.empty()) continue;
            std::string value;
            if (!from->GetValue(key, value)) {
                if (!isListKey(key)) continue;  // a value not sent stays as it is
                value.clear();
            }
            if (isClock(section.GetName(), key)) {
                if (value.empty() || value.back() != '!') continue;
                value.pop_back();
            }
            if (value == parameter.GetValue()) continue;
            const std::string name = label(section.GetName(), key);
            if (parameter.GetComment().find("Cannot be changed") != std::string::npos) {
                log.push_back(name + " cannot be changed, keeps " + parameter.GetValue());
            } else if (refused(rules, section.GetName(), key, value)) {
                log.push_back(name + " = " + value + " refused, keeps " + parameter.GetValue());
            } else {
                log.push_back(name + (value.empty() ? " emptied" : " set to " + value));
                parameter.SetValue(value);
            }
        }
    }
    for (int s = 0; s < written.GetSectionCount(); ++s) {
        const ParameterSection& section = written.SectionAt(s);
        const ParameterSection* known = sectionNamed(kept, section.GetName());
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const std::string& key = section.ParameterAt(p).GetKey();
            std::string ignored;
            if (!key.empty() && (!known || !known->GetValue(key, ignored))) {
                log.push_back(label(section.GetName(), key) + " unknown, ignored");
            }
        }
    }
    return log;
}
