#include "ParameterHandler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <unordered_map>
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
        size_t size = minimumSize;
        while (!roomFor(count, size)) size *= 2;
        if (size > slots.size()) rehash(size);
    }

    void insert(uint32_t hash, uint32_t position) {
        if (!roomFor(used + 1, slots.size())) grow();
        place(Slot{hash, position});
        ++used;
    }

    size_t size() const { return used; }
    size_t capacity() const { return slots.size() * 3 / 4; }

private:
    static constexpr size_t minimumSize = 16;

    size_t mask() const { return slots.size() - 1; }
    // At most three quarters full, so probe runs stay short.
    static bool roomFor(size_t count, size_t size) { return count * 4 <= size * 3; }

    void place(const Slot& entry) {
        size_t at = entry.hash & mask();
        while (slots[at].position != none) at = (at + 1) & mask();
        slots[at] = entry;
    }

    void grow() { rehash(slots.empty() ? minimumSize : slots.size() * 2); }

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
//
// Sections are found through a hash index of their names. Keys of a section
// are searched directly while the section is small (most are), and through
// an index of its own once it is large. The indexes hold only positions;
// names and keys are compared against the stored sections.
class SectionReader {
    // A section larger than this gets an index of its keys.
    static constexpr int directSearchLimit = 16;

    auto sectionNamed(std::string_view name) {
        return [this, name](uint32_t position) { return sections[position].GetName() == name; };
    }
    auto keyIn(uint32_t section, std::string_view key) {
        return [this, section, key](uint32_t position) {
            return sections[section].ParameterAt(static_cast<int>(position)).GetKey() == key;
        };
    }

public:
    explicit SectionReader(std::vector<ParameterSection>& sections) : sections(sections) {
        // Sections held already: reading adds to them as to any other.
        for (uint32_t s = 0; s < sections.size(); ++s) {
            const std::string& name = sections[s].GetName();
            if (!sectionIndex.find(hashOf(name), sectionNamed(name))) sectionIndex.insert(hashOf(name), s);
        }
    }

    // How many lines are still to come, at most: lets a store that grows
    // large take its room once, instead of doubling it and holding the old
    // and the new room at the same time.
    void ExpectLines(size_t lines) { linesAhead = lines; }

    void Feed(std::string_view text) {
        while (!text.empty()) {
            const size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (linesAhead > 0) --linesAhead;
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
        for (auto& [where, joined] : pending) {
            sections[where >> 32].ParameterAt(static_cast<int>(where & UINT32_MAX)).SetValue(joined);
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
        } else {
            current = static_cast<uint32_t>(sections.size());
            // Sections of one file tend to be alike in size.
            const size_t expected = sections.empty() ? 0 : static_cast<size_t>(sections.back().GetParameterCount());
            if (sections.size() == sections.capacity()) sections.reserve(roomAhead(sections.size()));
            sections.emplace_back(currentName);
            sections.back().Reserve(expected);
            sectionIndex.insert(hash, current);
        }
        const auto indexed = keyIndexes.find(current);
        currentKeys = indexed == keyIndexes.end() ? nullptr : &indexed->second;
        return current;
    }

    // Position of key in section s, or -1. A section that has just grown
    // past the direct search gets its index here.
    int findKey(uint32_t s, std::string_view key, uint32_t hash) {
        ParameterSection& section = sections[s];
        const int count = section.GetParameterCount();
        if (!currentKeys && count > directSearchLimit) {
            currentKeys = &keyIndexes[s];
            currentKeys->reserve(roomAhead(static_cast<size_t>(count)));
            for (int p = 0; p < count; ++p) {
                currentKeys->insert(hashOf(section.ParameterAt(p).GetKey()), static_cast<uint32_t>(p));
            }
        }
        if (currentKeys) {
            const PositionIndex::Slot* slot = currentKeys->find(hash, keyIn(s, key));
            return slot ? static_cast<int>(slot->position) : -1;
        }
        for (int p = 0; p < count; ++p) {
            if (section.ParameterAt(p).GetKey() == key) return p;
        }
        return -1;
    }

    void add(const LineParts& parts) {
        const uint32_t s = currentSection();
        ParameterSection& section = sections[s];
        const uint32_t hash = hashOf(parts.key);
        const int found = findKey(s, parts.key, hash);
        if (found < 0) {
            const size_t count = static_cast<size_t>(section.GetParameterCount());
            if (count == section.Capacity()) section.Reserve(roomAhead(count));
            if (currentKeys) {
                if (currentKeys->size() == currentKeys->capacity()) currentKeys->reserve(roomAhead(count));
                currentKeys->insert(hash, static_cast<uint32_t>(count));
            }
            section.Append(parts.key, parts.value, parts.comment, parts.indented);
            return;
        }
        Parameter& parameter = section.ParameterAt(found);
        if (parameter.GetTypeSpec().empty()) {
            // Without a type string the value setter stores text
            // unchanged, so a repeated key's list can be stored in one go at
            // the end instead of copying the growing value at each repeat.
            const uint64_t where = (static_cast<uint64_t>(s) << 32) | static_cast<uint32_t>(found);
            auto [entry, first] = pending.try_emplace(where);
            if (first) entry->second = parameter.GetValue();
            entry->second.append(" ; ");
            entry->second.append(parts.value);
        } else {
            parameter.SetValue(parameter.GetValue() + " ; " + std::string(parts.value));
        }
        parameter.SetComment(std::string(parts.comment));
        parameter.SetIndented(parts.indented);
    }

    // Room to grow to from size: doubled while small; once large, enough
    // for every line still to come, taken at once.
    size_t roomAhead(size_t size) const {
        constexpr size_t large = 1024;
        return size < large ? std::max<size_t>(2 * size, 16) : size + linesAhead + 1;
    }

    std::vector<ParameterSection>& sections;
    PositionIndex sectionIndex;
    std::unordered_map<uint32_t, PositionIndex> keyIndexes;  // of the large sections only
    PositionIndex* currentKeys = nullptr;                     // of the current section, if it has one
    std::map<uint64_t, std::string> pending;                  // lists of repeated keys, by section and position
    std::string currentName;
    uint32_t current = PositionIndex::none;
    size_t linesAhead = 0;
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

void ParameterHandler::Load(const SharePtr& fileShare, const std::string& name, const ParameterCatalogue& catalogue) {
    load(fileShare, name, catalogue, false);
}

void ParameterHandler::LoadForUpdate(const SharePtr& fileShare, const std::string& name,
                                     const ParameterCatalogue& catalogue) {
    load(fileShare, name, catalogue, true);
}

void ParameterHandler::load(const SharePtr& fileShare, const std::string& name, const ParameterCatalogue& catalogue,
                            bool forUpdate) {
    update.file.reset();
    sections.clear();
    loadedBytes.clear();
    share.reset();
    path = fileShare->PathOf(name);
    if (forUpdate) update.file = fileShare->OpenForUpdate(path, loadedBytes);
    if (!update.file) loadedBytes = fileShare->Read(path);
    if (loadedBytes.empty()) update.file.reset();
    // A write cut between a truncating open and its write leaves a file of
    // no bytes at all; read as an empty store, it would pass for a file
    // without settings and could be written back as one.
    if (loadedBytes.empty()) throw FileException(path, EmptyFileReason);
    share = fileShare;
    SectionReader reader(sections);
    reader.ExpectLines(static_cast<size_t>(std::count(loadedBytes.begin(), loadedBytes.end(), '\n')) + 1);
    ForEachTextPiece(loadedBytes, [&](std::string_view piece) { reader.Feed(piece); });
    reader.Finish();
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

void ParameterHandler::Write() {
    if (!share) throw FileException(path, "nothing was loaded to write back");
    const std::string bytes = BytesOfText(Format());
    if (update.file) {
        const std::unique_ptr<Share::Update> held = std::move(update.file);
        held->Replace(loadedBytes, bytes);
    } else {
        share->Replace(path, loadedBytes, bytes);
    }
    loadedBytes = bytes;
}

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
        if (candidate.GetName() == section) candidate.SetParameterAttributes(key, nameId, typeSpec);
    }
}
