#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FileException.h"
#include "ParameterCatalogue.h"
#include "ParameterSection.h"
#include "Share.h"

// Reads one INI-style server file into an ordered list of sections, lets the
// program look values up and change them, and writes the whole file back in
// its canonical form. A short-lived object: one per user action.
class ParameterHandler {
public:
    // GetSection or FindSection found no section of the given name.
    class ParameterError : public StoreError {
    public:
        using StoreError::StoreError;
    };

    ParameterHandler() = default;

    // Forgets all sections, reads the file the share knows by name (see
    // Share::PathOf) and applies the catalogue. Raises FileException, also
    // for a file of no bytes (EmptyFileReason); the handler is then empty
    // and has nothing to write.
    void Load(const SharePtr& share, const std::string& name, const ParameterCatalogue& catalogue);
    // Load for a Write that follows at once: the file is opened once for
    // both where the share allows it (Share::OpenForUpdate), and stays open
    // until Write, or until the handler goes.
    void LoadForUpdate(const SharePtr& share, const std::string& name, const ParameterCatalogue& catalogue);
    // Rewrites the file that was loaded. Raises FileException; a failed
    // write leaves the file as it was, and a file changed by someone else
    // since it was loaded is not written (FileChangedMeanwhile).
    void Write();
    // The canonical text Write puts into the file (LF line ends).
    std::string Format() const;

    const std::string& GetPath() const { return path; }
    // The file's bytes as this handler last read or wrote them.
    const std::string& GetBytes() const { return loadedBytes; }
    const SharePtr& GetShare() const { return share; }

    bool GetValue(const std::string& section, const std::string& key, std::string& value) const;
    bool SetValue(const std::string& section, const std::string& key, const std::string& value);

    int GetSectionCount() const { return static_cast<int>(sections.size()); }
    ParameterSection GetSectionAt(int index) const { return sections.at(index); }
    ParameterSection& SectionAt(int index) { return sections.at(index); }
    const ParameterSection& SectionAt(int index) const { return sections.at(index); }
    ParameterSection GetSection(const std::string& name) const;
    ParameterSection& FindSection(const std::string& name);

    void AddParameter(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& comment, int indented);
    void SetSectionTitle(const std::string& section, int titleId);
    void SetParameterAttributes(const std::string& section, const std::string& key, int nameId,
                                const std::string& typeSpec);

    // Reading, exposed for the tests and the fuzzer: parses text as the
    // contents of a file (any line ends) into this handler's sections.
    void ReadText(const std::string& text);

private:
    void load(const SharePtr& share, const std::string& name, const ParameterCatalogue& catalogue, bool forUpdate);

    SharePtr share;
    std::string path;
    std::string loadedBytes;  // the file as read, to notice a change by someone else
    std::vector<ParameterSection> sections;
    // The file held open since LoadForUpdate. A copy of the handler holds
    // none: it writes as a handler that was loaded with Load.
    struct HeldFile {
        std::unique_ptr<Share::Update> file;
        HeldFile() = default;
        HeldFile(const HeldFile&) {}
        HeldFile& operator=(const HeldFile&) {
            file.reset();
            return *this;
        }
        HeldFile(HeldFile&&) = default;
        HeldFile& operator=(HeldFile&&) = default;
    } update;
};

// The reason a file of no bytes at all is not loaded.
inline constexpr const char* EmptyFileReason = "the file is empty (0 bytes)";
// The error is that reason: the file it names was found empty.
inline bool IsEmptyFileError(const StoreError& error) { return error.Reason() == EmptyFileReason; }

// One line of a server file, broken into its parts.
struct ParsedLine {
    bool counts = false;
    std::string section;
    std::string key;
    std::string value;
    std::string comment;
    int indented = 0;
};

// Parses one line (without its line end) by the file grammar.
ParsedLine ParseLine(const std::string& line);
