#pragma once

#include <string>
#include <string_view>
#include <vector>

// What one write of a server file changes: for each parameter whose stored
// value the write replaces, its section, key, the value read before and the
// value written. Values are the server's bytes, normalised as a submit
// stores them, so a value only spelled differently is no change.
struct Change {
    std::string section;
    std::string key;
    std::string oldValue;
    std::string newValue;
    bool operator==(const Change&) const = default;
};

struct ChangeSet {
    // The file as a path below the share, "/" between its parts and the
    // letter case it has on the share ("Config/Config.ini").
    std::string file;
    std::vector<Change> changes;

    bool Empty() const { return changes.empty(); }
    bool operator==(const ChangeSet&) const = default;
};

// Password parameters: their values are never shown, only whether they are
// empty.
bool IsPasswordKey(std::string_view key);
// A value as a change set shows it: "********" for a password parameter's
// value ("-" when it is empty), otherwise the value itself.
std::string ShownValue(std::string_view key, const std::string& value);

// The share path of a file of the share (folder the share's folder, path a
// full path below it): "/" between the parts, nothing before the first.
std::string SharePathOf(const std::string& folder, const std::string& path);
