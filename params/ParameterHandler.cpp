#include "ParameterHandler.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "ShareFile.h"
#include "TextRules.h"

namespace {

std::string_view trimLeft(std::string_view text) {
    const char* begin = text.data();
    const char* const end = begin + text.size();
    while (begin < end && IsWhiteSpace(*begin)) ++begin;
    return {begin, static_cast<size_t>(end - begin)};
}

std::string_view trimRight(std::string_view text) {
    const char* const begin = text.data();
    const char* end = begin + text.size();
    while (end > begin && IsWhiteSpace(end[-1])) --end;
    return {begin, static_cast<size_t>(end - begin)};
}

// The text from begin up to the first c, or to end.
const char* findIn(const char* begin, const char* end, char c) {
    const void* found = std::memchr(begin, c, static_cast<size_t>(end - begin));
    return found ? static_cast<const char*>(found) : end;
}

std::string_view between(const char* begin, const char* end) { return {begin, static_cast<size_t>(end - begin)}; }

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
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    const char* const semicolon = findIn(begin, end, ';');
    const std::string_view head = trimRight(between(begin, semicolon));
    // Blank lines and lines that hold only a remark do not count.
    if (head.empty()) return parts;
    parts.counts = true;
    const char* const headEnd = head.data() + head.size();

    const char* const equals = findIn(begin, headEnd, '=');
    if (equals != headEnd) {
        parts.key = between(begin, equals);
        parts.value = between(equals + 1, headEnd);
    } else if (const char* open = findIn(begin, headEnd, '['); open != headEnd) {
        parts.section = TrimmedView(between(open + 1, findIn(open + 1, headEnd, ']')));
    }
    if (semicolon != end) parts.comment = between(semicolon + 1, end);

    // A blank left in the key after its right end is trimmed means the line
    // was indented by blanks (or the key has an inner blank): a sub-item.
    parts.key = trimRight(parts.key);
    parts.indented = parts.key.find(' ') != std::string_view::npos ? 1 : 0;
    parts.key = trimLeft(parts.key);

    // A free-text remark keeps its semicolons: they belong to the value.
    if (parts.key == "Comment") {
        parts.value = between(equals + 1, end);
        parts.comment = {};
    }
    parts.value = TrimmedView(parts.value);
    parts.comment = TrimmedView(parts.comment);
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
            const std::string_view piece = TrimmedView(value.substr(0, semicolon));
            if (!piece.empty()) appendLine(out, key, piece);
            value.remove_prefix(semicolon + 1);
        }
    }
    const std::string_view last = TrimmedView(value);
    if (!last.empty() || !isListKey(key)) appendLine(out, key, last);
}

// Reading a large file must stay linear, so while reading, sections and
// parameters are found through hash indexes instead of the linear searches
// the lookups use: one index of section names, and one of keys per section
// (small, so the lines of one section hit an index that stays in cache).
// The indexes hold only positions; names and keys are compared against the
// stored sections, so nothing is copied per entry.
class PositionIndex {
public:
    static constexpr uint32_t none = UINT32_MAX;
    struct Slot {
        uint32_t hash = 0;
        uint32_t position = none;
        uint32_t pending = none;  // collected list of a repeated key, if any
    };

    // The slot whose entry has this hash and satisfies matches, or null.
    template <class Matches>
    Slot* find(uint32_t hash, Matches matches) {
        if (slots.empty()) return nullptr;
        for (size_t at = hash & mask();; at = (at + 1) & mask()) {
            Slot& slot = slots[at];
            if (slot.position == none) return nullptr;
            if (slot.hash == hash && matches(slot.position)) return &slot;
        }
    }

    // Room for count entries without growing.
    void reserve(size_t count) {
        size_t size = 16;
        while (!roomFor(count, size)) size *= 2;
        if (size > slots.size()) rehash(size);
    }

    void insert(uint32_t hash, uint32_t position) {
        if (!roomFor(used + 1, slots.size())) grow();
        place(Slot{hash, position, none});
        ++used;
    }

private:
    size_t mask() const { return slots.size() - 1; }
    // At most three quarters full, so probe runs stay short.
    static bool roomFor(size_t count, size_t size) { return count * 4 <= size * 3; }

    void place(const Slot& entry) {
        size_t at = entry.hash & mask();
        while (slots[at].position != none) at = (at + 1) & mask();
        slots[at] = entry;
    }

    void grow() { rehash(slots.empty() ? 16 : slots.size() * 2); }

    void rehash(size_t size) {
        std::vector<Slot> old(size);
        old.swap(slots);
        for (const Slot& slot : old) {
            if (slot.position != none) place(slot);
        }
    }

    std::vector<Slot> slots;
    size_t used = 0;
};

// A quick hash for short names and keys, eight bytes at a time.
uint32_t hashOf(std::string_view text) {
    const char* data = text.data();
    size_t size = text.size();
    uint64_t hash = 0x9E3779B97F4A7C15ULL ^ size;
    for (; size >= 8; data += 8, size -= 8) {
        uint64_t word;
        std::memcpy(&word, data, 8);
        hash = (hash ^ word) * 0xBF58476D1CE4E5B9ULL;
        hash ^= hash >> 31;
    }
    uint64_t tail = 0;
    for (size_t i = 0; i < size; ++i) tail |= static_cast<uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    hash = (hash ^ tail) * 0x94D049BB133111EBULL;
    hash ^= hash >> 29;
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

// Reads lines into a list of sections, as adding each counting line with
// AddParameter would, but in time linear in the size of the text. The text
// may come in pieces, each ending at a line end (the last one need not).
class SectionReader {
    auto sectionNamed(std::string_view name) {
        return [this, name](uint32_t position) { return sections[position].GetName() == name; };
    }
    auto keyIn(uint32_t section, std::string_view key) {
        return [this, section, key](uint32_t position) {
            return sections[section].ParameterAt(static_cast<int>(position)).GetKey() == key;
        };
    }

public:
    explicit SectionReader(std::vector<ParameterSection>& sections) : sections(sections), keyIndexes(sections.size()) {
        // Sections held already: reading adds to them as to any other.
        for (uint32_t s = 0; s < sections.size(); ++s) {
            const std::string& name = sections[s].GetName();
            if (!sectionIndex.find(hashOf(name), sectionNamed(name))) sectionIndex.insert(hashOf(name), s);
            for (uint32_t p = 0; p < static_cast<uint32_t>(sections[s].GetParameterCount()); ++p) {
                const std::string& key = sections[s].ParameterAt(static_cast<int>(p)).GetKey();
                if (!keyIndexes[s].find(hashOf(key), keyIn(s, key))) keyIndexes[s].insert(hashOf(key), p);
            }
        }
    }

    void Feed(std::string_view text) {
        while (!text.empty()) {
            const size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            const LineParts parts = parseLineParts(line);
            if (!parts.counts) continue;
            if (!parts.section.empty()) {
                currentName.assign(parts.section);
                current = PositionIndex::none;
            } else {
                add(parts);
            }
        }
    }

    // Stores the collected values of repeated keys.
    void Finish() {
        for (Pending& joined : pending) {
            sections[joined.section].ParameterAt(static_cast<int>(joined.parameter)).SetValue(joined.value);
        }
        pending.clear();
    }

private:
    // The section that parameter lines go to now; a header alone creates
    // nothing, so it is looked up (or made) at its first parameter.
    uint32_t currentSection() {
        if (current != PositionIndex::none) return current;
        const uint32_t hash = hashOf(currentName);
        if (const PositionIndex::Slot* found = sectionIndex.find(hash, sectionNamed(currentName))) {
            current = found->position;
            return current;
        }
        current = static_cast<uint32_t>(sections.size());
        // Sections of one file tend to be alike in size.
        const int expected = sections.empty() ? 0 : sections.back().GetParameterCount();
        sections.emplace_back(currentName);
        sections.back().Reserve(expected);
        keyIndexes.emplace_back().reserve(static_cast<size_t>(expected));
        sectionIndex.insert(hash, current);
        return current;
    }

    void add(const LineParts& parts) {
        const uint32_t s = currentSection();
        ParameterSection& section = sections[s];
        PositionIndex& keys = keyIndexes[s];
        const uint32_t hash = hashOf(parts.key);
        PositionIndex::Slot* slot = keys.find(hash, keyIn(s, parts.key));
        if (!slot) {
            keys.insert(hash, static_cast<uint32_t>(section.GetParameterCount()));
            section.Append(parts.key, parts.value, parts.comment, parts.indented);
            return;
        }
        Parameter& parameter = section.ParameterAt(static_cast<int>(slot->position));
        if (parameter.GetTypeSpec().empty()) {
            // Without a type string the value setter stores text
            // unchanged, so a repeated key's list can be stored in one go at
            // the end instead of copying the growing value at each repeat.
            if (slot->pending == PositionIndex::none) {
                slot->pending = static_cast<uint32_t>(pending.size());
                pending.push_back(Pending{s, slot->position, parameter.GetValue()});
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

    struct Pending {
        uint32_t section;
        uint32_t parameter;
        std::string value;
    };

    std::vector<ParameterSection>& sections;
    PositionIndex sectionIndex;
    std::vector<PositionIndex> keyIndexes;
    std::vector<Pending> pending;
    std::string currentName;
    uint32_t current = PositionIndex::none;
};

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
    SectionReader reader(sections);
    reader.Feed(text);
    reader.Finish();
}

void ParameterHandler::Load(const std::string& filePath, const ParameterCatalogue& catalogue) {
    sections.clear();
    path = filePath;
    try {
        SectionReader reader(sections);
        ReadTextFileInPieces(path, [&](std::string_view piece) { reader.Feed(piece); });
        reader.Finish();
    } catch (const FileException&) {
        sections.clear();
        throw;
    }
    catalogue.Apply(*this);
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
    throw ParameterError(path, "no section [" + name + "]");
}

ParameterSection& ParameterHandler::FindSection(const std::string& name) {
    for (ParameterSection& section : sections) {
        if (section.GetName() == name) return section;
    }
    throw ParameterError(path, "no section [" + name + "]");
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
