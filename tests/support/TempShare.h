#pragma once

#include <filesystem>
#include <string>

#include "Share.h"

// A temporary server share for one test: an empty folder, or a copy of the
// bundled sample share. Removed with the object.
class TempShare {
public:
    enum class Contents { Empty, Sample };
    explicit TempShare(Contents contents = Contents::Empty);
    ~TempShare();
    TempShare(const TempShare&) = delete;
    TempShare& operator=(const TempShare&) = delete;

    // The share's root, as a server path.
    std::string Root() const { return root.string(); }
    // Full path of a file below the root, "Config/Config.ini" style.
    std::string PathOf(const std::string& relative) const { return (root / relative).string(); }
    // Writes bytes to a file below the root, creating folders as needed.
    void Write(const std::string& relative, const std::string& bytes) const;
    // The bytes of a file below the root.
    std::string Read(const std::string& relative) const;
    // The folder as the store reaches a share.
    SharePtr Files() const { return OpenFolderShare(Root()); }

private:
    std::filesystem::path root;
};

// A folder that cannot be listed while the object lives: its permissions
// cleared and, for a test run as root, the capabilities that read past them
// set aside on this thread.
class UnreadableFolder {
public:
    explicit UnreadableFolder(std::string path);
    ~UnreadableFolder();
    UnreadableFolder(const UnreadableFolder&) = delete;
    UnreadableFolder& operator=(const UnreadableFolder&) = delete;

private:
    std::string path;
    unsigned effective = 0;  // the capabilities set aside
};
