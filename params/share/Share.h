#pragma once

#include <memory>
#include <string>
#include <vector>

// A server's share: the files of one server, reached as the server names
// them. Everything on a share is untrusted: whatever a name or a link there
// says, nothing outside the share's own folder is ever read, listed or
// written. Every file is read and written under an exclusive lock, the way
// the appliance expects its files to be opened "without sharing"; a file
// another program holds is waited for a little, then reported as in use.
// Failures raise FileException with the path and the reason.
class Share {
public:
    virtual ~Share() = default;

    // Where the share is, as the user named it (for messages).
    virtual std::string Location() const = 0;

    // The path of a file or folder of the share. name is what the server
    // writes ("\Config\Config.ini"), a path below the share
    // ("Volumes/CDROM1/GUEST.USR"), or a full path that lies in the share;
    // each component is matched without regard to case. Raises
    // FileException naming the path when it leads outside the share.
    virtual std::string PathOf(const std::string& name) const = 0;

    // What a path of this share (as PathOf gives it) is called below the
    // share: its parts joined by "/", with the letter case they have on the
    // share ("Config/Config.ini"); what the programs show and record.
    virtual std::string NameOf(const std::string& path) const = 0;

    // The bytes of a file. Raises FileException.
    virtual std::string Read(const std::string& path) const = 0;
    // The first line of a file without its line end (a carriage return
    // before the line feed dropped); false when the file is empty.
    virtual bool ReadFirstLine(const std::string& path, std::string& line) const = 0;

    // Replaces the bytes of an existing file, which is never created, by
    // bytes, provided it still holds expected (what was read before):
    // otherwise FileChangedMeanwhile, and nothing is written. A write that
    // fails puts the previous bytes back before raising FileException.
    virtual void Replace(const std::string& path, const std::string& expected, const std::string& bytes) const = 0;

    // A file open from its reading to its writing, for a command that reads
    // a file and writes it at once: opened once for both. It is closed by
    // Replace, or when it goes unwritten; the share must outlive it.
    class Update {
    public:
        virtual ~Update() = default;
        // As Share::Replace: bytes written over the file only if it still
        // holds expected; the file is closed afterwards, whatever the
        // outcome, so that what the server makes of it can be read back.
        virtual void Replace(const std::string& expected, const std::string& bytes) = 0;
    };
    // Opens an existing file to be read now, into bytes, under its lock,
    // and written later through the Update. Null (bytes untouched) where
    // this share cannot hold the file open for writing, as on the desktop's
    // SMB mounts or for a file without write access: the caller then reads
    // it with Read and writes it with Replace. Raises FileException as Read
    // does.
    virtual std::unique_ptr<Update> OpenForUpdate(const std::string& path, std::string& bytes) const = 0;

    // What a folder of the share holds, entries that lead outside the share
    // left out, "." and ".." never listed; in no particular order.
    enum class EntryKind { File, Folder, Other };
    struct Entry {
        std::string name;
        EntryKind kind = EntryKind::Other;
    };
    virtual std::vector<Entry> List(const std::string& folder) const = 0;
};

using SharePtr = std::shared_ptr<const Share>;

// A share reached as a folder of this computer (a mounted share or a copy of
// one). The folder is resolved once, so a share reached through a link
// works; what lies outside the resolved folder is outside the share.
SharePtr OpenFolderShare(const std::string& folder);
// Any file of this computer, for commands that work on a file the user names
// on the command line rather than on a server's share.
SharePtr OpenLocalFiles();
