#include "ParameterHandler.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

#include "ShareFile.h"

namespace {

constexpr std::string_view whiteSpace = " \t\r\n\v\f";

std::string_view trimLeft(std::string_view text) {
    const size_t first = text.find_first_not_of(whiteSpace);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view trimRight(std::string_view text) {
    const size_t last = text.find_last_not_of(whiteSpace);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view trim(std::string_view text) { return trimLeft(trimRight(text)); }

// One line broken into its parts, each a view into the line.
struct LineParts {
    bool counts = false;
    std::string_view section;
    std::string_view key;
    std::string_view value;
    std::string_view comment;
    int indented = 0;
};

LineParts parseLineParts(std::string_view line) {
    LineParts parts;
    const size_t semicolon = line.find(';');
    const std::string_view head = trimRight(line.substr(0, semicolon));
    // Blank lines and lines that hold only a remark do not count.
    if (head.empty()) return parts;
    parts.counts = true;

    const size_t equals = head.find('=');
    if (equals != std::string_view::npos) {
        parts.key = head.substr(0, equals);
        parts.value = head.substr(equals + 1);
    } else if (const size_t open = head.find('['); open != std::string_view::npos) {
        const std::string_view name = head.substr(open + 1);
        parts.section = name.substr(0, name.find(']'));
    }
    if (semicolon != std::string_view::npos) parts.comment = line.substr(semicolon + 1);

    parts.section = trim(parts.section);
    // A blank left in the key after its right end is trimmed means the line
    // was indented by blanks (or the key has an inner blank): a sub-item.
    parts.key = trimRight(parts.key);
    parts.indented = parts.key.find(' ') != std::string_view::npos ? 1 : 0;
    parts.key = trimLeft(parts.key);

    // A free-text remark keeps its semicolons: they belong to the value.
    if (parts.key == "Comment") {
        parts.value = line.substr(line.find('=') + 1);
        parts.comment = {};
    }
    parts.value = trim(parts.value);
    parts.comment = trim(parts.comment);
    return parts;
}

// Keys whose empty final list item is left out of the file altogether.
bool isListKey(std::string_view key) {
    return key == "SMBPassword" || key == "NetWareUser/Group" || key == "NFSIPAddress" || key == "NFSGroup" ||
           key == "NFSUser";
}

void appendLine(std::string& out, std::string_view key, std::string_view piece) {
    out.append(key);
    out.append(" = ");
    out.append(piece);
    out += '\n';
}

void appendParameter(std::string& out, const Parameter& parameter) {
    const std::string_view key = parameter.GetKey();
    std::string_view value = parameter.GetValue();
    // Every list item but the last goes on a line of its own when not empty.
    if (key != "Comment") {
        for (size_t semicolon = value.find(';'); semicolon != std::string_view::npos;
             semicolon = value.find(';')) {
            const std::string_view piece = trim(value.substr(0, semicolon));
            if (!piece.empty()) appendLine(out, key, piece);
            value.remove_prefix(semicolon + 1);
        }
    }
    const std::string_view last = trim(value);
    if (!last.empty() || !isListKey(key)) appendLine(out, key, last);
}

// Reading a large file must stay linear, so while reading, sections and
// parameters are found through hash indexes instead of the linear searches
// the lookups use. The indexes hold only positions; names and keys are
// compared against the stored sections, so nothing is copied per entry.
class PositionIndex {
public:
    static constexpr uint32_t none = UINT32_MAX;
    struct Slot {
        size_t hash = 0;
        uint32_t section = none;
        uint32_t parameter = none;
        uint32_t pending = none;  // collected list of a repeated key, if any
    };

    PositionIndex() : slots(64) {}

    // The slot whose entry has this hash and satisfies matches, or null.
    template <class Matches>
    Slot* find(size_t hash, Matches matches) {
        for (size_t at = hash & mask();; at = (at + 1) & mask()) {
            Slot& slot = slots[at];
            if (slot.section == none) return nullptr;
            if (slot.hash == hash && matches(slot)) return &slot;
        }
    }

    void insert(size_t hash, uint32_t section, uint32_t parameter) {
        if ((used + 1) * 2 > slots.size()) grow();
        place(Slot{hash, section, parameter, none});
        ++used;
    }

private:
    size_t mask() const { return slots.size() - 1; }

    void place(const Slot& entry) {
        size_t at = entry.hash & mask();
        while (slots[at].section != none) at = (at + 1) & mask();
        slots[at] = entry;
    }

    void grow() {
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        for (const Slot& slot : old) {
            if (slot.section != none) place(slot);
        }
    }

    std::vector<Slot> slots;
    size_t used = 0;
};

size_t hashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

size_t hashOf(uint32_t section, std::string_view key) {
    size_t hash = hashOf(key) ^ (static_cast<size_t>(section) * 0x9E3779B97F4A7C15ULL);
    // Mix the high bits down: the table uses the low bits.
    hash ^= hash >> 29;
    hash *= 0xBF58476D1CE4E5B9ULL;
    hash ^= hash >> 32;
    return hash;
}

}  // namespace

ParsedLine ParseLine(const std::string& line) {
    const LineParts parts = parseLineParts(line);
    ParsedLine parsed;
    parsed.counts = parts.counts;
    parsed.section = parts.section;
    parsed.key = parts.key;
    parsed.value = parts.value;
    parsed.comment = parts.comment;
    parsed.indented = parts.indented;
    return parsed;
}

void ParameterHandler::ReadText(const std::string& text) {
    PositionIndex sectionIndex;
    PositionIndex parameterIndex;
    for (uint32_t s = 0; s < sections.size(); ++s) {
        const ParameterSection& section = sections[s];
        if (!sectionIndex.find(hashOf(section.GetName()),
                               [&](const PositionIndex::Slot& slot) {
                                   return sections[slot.section].GetName() == section.GetName();
                               })) {
            sectionIndex.insert(hashOf(section.GetName()), s, 0);
        }
        for (uint32_t p = 0; p < static_cast<uint32_t>(section.GetParameterCount()); ++p) {
            const std::string& key = section.ParameterAt(static_cast<int>(p)).GetKey();
            const size_t hash = hashOf(s, key);
            if (!parameterIndex.find(hash, [&](const PositionIndex::Slot& slot) {
                    return slot.section == s && sections[s].ParameterAt(static_cast<int>(slot.parameter)).GetKey() == key;
                })) {
                parameterIndex.insert(hash, s, p);
            }
        }
    }

    // Values of repeated keys are collected here and stored once at the end,
    // so a key repeated many times does not copy its growing value each time.
    struct Pending {
        uint32_t section;
        uint32_t parameter;
        std::string value;
    };
    std::vector<Pending> pending;

    std::string_view currentName;
    uint32_t current = PositionIndex::none;  // resolved lazily: a header alone creates nothing
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);

        const LineParts parts = parseLineParts(line);
        if (!parts.counts) continue;
        if (!parts.section.empty()) {
            currentName = parts.section;
            current = PositionIndex::none;
            continue;
        }

        if (current == PositionIndex::none) {
            const size_t hash = hashOf(currentName);
            const PositionIndex::Slot* found = sectionIndex.find(hash, [&](const PositionIndex::Slot& slot) {
                return sections[slot.section].GetName() == currentName;
            });
            if (found) {
                current = found->section;
            } else {
                current = static_cast<uint32_t>(sections.size());
                sections.emplace_back(std::string(currentName));
                sectionIndex.insert(hash, current, 0);
            }
        }

        ParameterSection& section = sections[current];
        const size_t hash = hashOf(current, parts.key);
        PositionIndex::Slot* slot = parameterIndex.find(hash, [&](const PositionIndex::Slot& candidate) {
            return candidate.section == current &&
                   section.ParameterAt(static_cast<int>(candidate.parameter)).GetKey() == parts.key;
        });
        if (!slot) {
            parameterIndex.insert(hash, current, static_cast<uint32_t>(section.GetParameterCount()));
            section.Append(Parameter(std::string(parts.key), std::string(parts.value), std::string(parts.comment),
                                     parts.indented));
            continue;
        }

        Parameter& parameter = section.ParameterAt(static_cast<int>(slot->parameter));
        if (parameter.GetTypeSpec().empty()) {
            // Without a type specification the value setter stores text
            // unchanged, so the joined list can be stored in one go later.
            if (slot->pending == PositionIndex::none) {
                slot->pending = static_cast<uint32_t>(pending.size());
                pending.push_back(Pending{current, slot->parameter, parameter.GetValue()});
            }
            std::string& joined = pending[slot->pending].value;
            joined.append(" ; ");
            joined.append(parts.value);
        } else {
            parameter.SetValue(parameter.GetValue() + " ; " + std::string(parts.value));
        }
        parameter.SetComment(std::string(parts.comment));
        parameter.SetIndented(parts.indented);
    }

    for (Pending& joined : pending) {
        sections[joined.section].ParameterAt(static_cast<int>(joined.parameter)).SetValue(joined.value);
    }
}

void ParameterHandler::Load(const std::string& filePath, CatalogueKind kind) {
    sections.clear();
    path = filePath;
    std::string text;
    try {
        text = ReadTextFile(path);
    } catch (const FileException&) {
        sections.clear();
        throw;
    }
    ReadText(text);
    ApplyCatalogue(*this, kind);
}

std::string ParameterHandler::Format() const {
    size_t estimate = 8;
    for (const ParameterSection& section : sections) {
        estimate += section.GetName().size() + 3;
        for (int i = 0; i < section.GetParameterCount(); ++i) {
            const Parameter& parameter = section.ParameterAt(i);
            estimate += parameter.GetKey().size() + parameter.GetValue().size() + 4;
        }
    }
    std::string out;
    out.reserve(estimate);
    // The unnamed section has no header, so it must come first or its
    // parameters would be read back into the section written before them.
    for (const ParameterSection& section : sections) {
        if (!section.GetName().empty()) continue;
        for (int i = 0; i < section.GetParameterCount(); ++i) appendParameter(out, section.ParameterAt(i));
    }
    for (const ParameterSection& section : sections) {
        if (section.GetName().empty()) continue;
        out += '[';
        out.append(section.GetName());
        out.append("]\n");
        for (int i = 0; i < section.GetParameterCount(); ++i) appendParameter(out, section.ParameterAt(i));
    }
    out.append("[END]\n");
    return out;
}

void ParameterHandler::Write() const { WriteTextFile(path, Format()); }

bool ParameterHandler::GetValue(const std::string& section, const std::string& key, std::string& value) const {
    value.clear();
    for (const ParameterSection& candidate : sections) {
        if (candidate.GetName() == section) return candidate.GetValue(key, value);
    }
    return false;
}

bool ParameterHandler::SetValue(const std::string& section, const std::string& key, const std::string& value) {
    for (ParameterSection& candidate : sections) {
        if (candidate.GetName() != section) continue;
        const int index = candidate.IndexOf(key);
        if (index < 0) return false;
        candidate.ParameterAt(index).SetValue(value);
        return true;
    }
    return false;
}

ParameterSection ParameterHandler::GetSection(const std::string& name) const {
    for (const ParameterSection& section : sections) {
        if (section.GetName() == name) return section;
    }
    throw ParameterError{};
}

ParameterSection& ParameterHandler::FindSection(const std::string& name) {
    for (ParameterSection& section : sections) {
        if (section.GetName() == name) return section;
    }
    throw ParameterError{};
}

void ParameterHandler::AddParameter(const std::string& section, const std::string& key, const std::string& value,
                                    const std::string& comment, int indented) {
    bool found = false;
    for (ParameterSection& candidate : sections) {
        if (candidate.GetName() != section) continue;
        found = true;
        const int index = candidate.IndexOf(key);
        if (index < 0) {
            candidate.Add(Parameter(key, value, comment, indented));
            continue;
        }
        Parameter& parameter = candidate.ParameterAt(index);
        parameter.SetValue(parameter.GetValue() + " ; " + value);
        parameter.SetComment(comment);
        parameter.SetIndented(indented);
    }
    if (found) return;
    ParameterSection created(section);
    created.Append(Parameter(key, value, comment, indented));
    sections.push_back(std::move(created));
}

void ParameterHandler::SetSectionTitle(const std::string& section, int titleId) {
    for (ParameterSection& candidate : sections) {
        if (candidate.GetName() == section) candidate.SetTitleId(titleId);
    }
}

void ParameterHandler::SetParameterAttributes(const std::string& section, const std::string& key, int nameId,
                                              const std::string& typeSpec) {
    for (ParameterSection& candidate : sections) {
        if (candidate.GetName() != section) continue;
        for (int i = 0; i < candidate.GetParameterCount(); ++i) {
            Parameter& parameter = candidate.ParameterAt(i);
            if (parameter.GetKey() != key) continue;
            parameter.SetNameId(nameId);
            parameter.SetTypeSpec(typeSpec);
        }
    }
}

void ApplyCatalogue(ParameterHandler& handler, CatalogueKind kind) {
    switch (kind) {
    case Configuration:
        ApplyConfigurationCatalogue(handler);
        break;
    case VolumeRights:
        ApplyVolumeRightsCatalogue(handler);
        break;
    case ScsiDrives:
        ApplyScsiCatalogue(handler);
        break;
    }
}
