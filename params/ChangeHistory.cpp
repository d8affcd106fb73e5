#include "ChangeHistory.h"

#include <unordered_map>

#include "LocalState.h"
#include "ServerFiles.h"
#include "ServerIdentity.h"
#include "StoreError.h"

bool RecordWrite(const WriteOrigin& origin, const ChangeSet& changes, const std::string& before,
                 const std::string& after, bool kept, std::string& problem) {
    if (!KeepsLocalState()) return true;
    HistoryEntry entry;
    entry.program = origin.program;
    entry.serial = origin.serial;
    entry.kept = kept;
    entry.changes = changes;
    try {
        History(origin.address).Record(std::move(entry), before, after);
        return true;
    } catch (const StoreError& error) {
        problem = error.Detail();
        return false;
    }
}

std::string SerialAtWrite(const Share& share, const std::string& file, const std::string& bytesBefore) {
    std::string line;
    try {
        const std::string configuration = share.PathOf(ServerFile::Configuration);
        if (share.PathOf(file) == configuration) {
            line = bytesBefore.substr(0, bytesBefore.find('\n'));
            if (!line.empty() && line.back() == '\r') line.pop_back();
        } else {
            share.ReadFirstLine(configuration, line);
        }
    } catch (const StoreError&) {
        return "";
    }
    return line.empty() ? "" : SerialNumber(line);
}

std::optional<HistoryEntry> LastWriteOf(const std::string& address, const std::string& file) {
    if (!KeepsLocalState()) return std::nullopt;
    try {
        std::vector<HistoryEntry> entries = History(address).Entries(file);
        if (!entries.empty()) return std::move(entries.front());
    } catch (const StoreError&) {
        // A history that cannot be read offers nothing.
    }
    return std::nullopt;
}

namespace {

// The parameter of a section as the store holds it now, or nullptr.
const Parameter* parameterOf(const ParameterHandler& store, const std::string& section, const std::string& key) {
    for (int s = 0; s < store.GetSectionCount(); ++s) {
        const ParameterSection& held = store.SectionAt(s);
        if (held.GetName() != section) continue;
        const int at = held.IndexOf(key);
        return at < 0 ? nullptr : &held.ParameterAt(at);
    }
    return nullptr;
}

}  // namespace

UndoPlan PlanUndo(const HistoryEntry& entry, const ParameterHandler& now) {
    UndoPlan plan;
    for (const Change& change : entry.changes.changes) {
        const Parameter* held = parameterOf(now, change.section, change.key);
        // Requests (a restart, the factory settings) and the clock are acts
        // the server carried out, not values to take back.
        if (held && !held->IsVerifiedAfterSubmit()) {
            plan.skipped.push_back(change);
        } else if (!held || !held->HasSameValue(change.newValue)) {
            plan.conflicts.push_back({change.section, change.key, change.newValue, held ? held->GetValue() : ""});
            if (held && !held->HasSameValue(change.oldValue)) {
                plan.forced.push_back({change.section, change.key, held->GetValue(), change.oldValue});
            }
        } else if (!held->HasSameValue(change.oldValue)) {
            plan.edits.push_back({change.section, change.key, held->GetValue(), change.oldValue});
        }
    }
    return plan;
}

namespace {

// The same value by the parameter's own comparison: its list items, each as
// its check writes it.
bool sameValue(const Parameter& mine, const Parameter& other) {
    Parameter normalised = mine;
    normalised.SetValue(mine.GetValue());
    return normalised.HasSameValue(mine.Normalise(other.GetValue()));
}

// Where each name stands, first place wins: lookups stay linear on files of
// many sections or keys.
template <typename Container, typename NameOf>
std::unordered_map<std::string, int> indexOf(const Container& items, int count, NameOf name) {
    std::unordered_map<std::string, int> index;
    for (int i = 0; i < count; ++i) index.emplace(name(items, i), i);
    return index;
}

std::unordered_map<std::string, int> keysOf(const ParameterSection& section) {
    return indexOf(section, section.GetParameterCount(),
                   [](const ParameterSection& s, int i) { return s.ParameterAt(i).GetKey(); });
}

std::unordered_map<std::string, int> sectionsOf(const ParameterHandler& store) {
    return indexOf(store, store.GetSectionCount(), [](const ParameterHandler& h, int i) { return h.SectionAt(i).GetName(); });
}

void compareSections(const ParameterSection& mine, const ParameterSection& other, std::vector<Difference>& out) {
    const auto mineKeys = keysOf(mine);
    const auto otherKeys = keysOf(other);
    for (int i = 0; i < mine.GetParameterCount(); ++i) {
        const Parameter& parameter = mine.ParameterAt(i);
        if (mineKeys.at(parameter.GetKey()) != i) continue;  // a key the store holds twice counts once
        const auto at = otherKeys.find(parameter.GetKey());
        if (at == otherKeys.end()) {
            out.push_back({mine.GetName(), parameter.GetKey(), parameter.GetValue(), std::nullopt});
        } else if (!sameValue(parameter, other.ParameterAt(at->second))) {
            out.push_back({mine.GetName(), parameter.GetKey(), parameter.GetValue(), other.GetValueAt(at->second)});
        }
    }
    for (int i = 0; i < other.GetParameterCount(); ++i) {
        const Parameter& parameter = other.ParameterAt(i);
        if (otherKeys.at(parameter.GetKey()) == i && !mineKeys.contains(parameter.GetKey())) {
            out.push_back({mine.GetName(), parameter.GetKey(), std::nullopt, parameter.GetValue()});
        }
    }
}

}  // namespace

std::vector<Difference> CompareStores(const ParameterHandler& mine, const ParameterHandler& other) {
    std::vector<Difference> differences;
    const auto mineSections = sectionsOf(mine);
    const auto otherSections = sectionsOf(other);
    for (int s = 0; s < mine.GetSectionCount(); ++s) {
        const ParameterSection& section = mine.SectionAt(s);
        if (mineSections.at(section.GetName()) != s) continue;
        const auto at = otherSections.find(section.GetName());
        if (at == otherSections.end()) {
            differences.push_back({section.GetName(), "*", "", std::nullopt});
        } else {
            compareSections(section, other.SectionAt(at->second), differences);
        }
    }
    for (int s = 0; s < other.GetSectionCount(); ++s) {
        const std::string& name = other.SectionAt(s).GetName();
        if (otherSections.at(name) == s && !mineSections.contains(name)) differences.push_back({name, "*", std::nullopt, ""});
    }
    return differences;
}

std::vector<Change> ChangesBetween(const ParameterHandler& before, const ParameterHandler& after) {
    std::vector<Change> changes;
    for (const Difference& difference : CompareStores(before, after)) {
        if (difference.key != "*") {
            changes.push_back({difference.section, difference.key, difference.mine.value_or(""),
                               difference.other.value_or("")});
            continue;
        }
        // A whole section one side lacks: each of its keys, once.
        const bool removed = difference.mine.has_value();
        const ParameterHandler& holder = removed ? before : after;
        const ParameterSection& section = holder.SectionAt(sectionsOf(holder).at(difference.section));
        const auto keys = keysOf(section);
        for (int i = 0; i < section.GetParameterCount(); ++i) {
            const Parameter& parameter = section.ParameterAt(i);
            if (keys.at(parameter.GetKey()) != i) continue;
            changes.push_back({section.GetName(), parameter.GetKey(), removed ? parameter.GetValue() : "",
                               removed ? "" : parameter.GetValue()});
        }
    }
    return changes;
}
