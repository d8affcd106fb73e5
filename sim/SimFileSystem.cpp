#define FUSE_USE_VERSION 31
#include "SimFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>

namespace {

// A parameter file larger than this is more than the appliance can hold.
constexpr off_t kLargestFile = 16 * 1024 * 1024;

// What every operation reaches through the FUSE context.
struct ServedShare {
    Appliance& appliance;
    const SimSettings& settings;
    int statsFd = -1;
    unsigned long operations = 0;
    std::map<std::string, unsigned long> counts;
};

// One open file. Until it writes, a handle reads the file as it is now, as
// every other client sees it. What a writer writes collects in the handle,
// over the file as it was at its first write; the server takes it all when
// the writer closes the file.
struct Handle {
    std::string relative;
    bool writing = false;
    unsigned long run = 0;  // the server's run it was opened in
    std::optional<std::string> written;
};

Handle* handleOf(const fuse_file_info* fi) { return fi ? reinterpret_cast<Handle*>(fi->fh) : nullptr; }

const ServedShare& served() { return *static_cast<ServedShare*>(fuse_get_context()->private_data); }

void writeStats(const ServedShare& share) {
    std::string text = "operations " + std::to_string(share.operations) + "\n";
    for (const auto& [name, count] : share.counts) text += name + " " + std::to_string(count) + "\n";
    if (::pwrite(share.statsFd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size())) {
        [[maybe_unused]] const int ignored = ::ftruncate(share.statsFd, static_cast<off_t>(text.size()));
    }
}

// The start of every operation: counted, traced, and delayed as a network
// round trip to the appliance would delay it.
Appliance& begin(const char* operation, const char* path) {
    ServedShare& share = *static_cast<ServedShare*>(fuse_get_context()->private_data);
    ++share.operations;
    ++share.counts[operation];
    if (share.statsFd >= 0) writeStats(share);
    if (share.settings.trace) std::fprintf(stderr, "%s %s\n", operation, path ? path : "");
    if (share.settings.latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(share.settings.latencyMs));
    return share.appliance;
}

// Nothing may escape into the C library: a failure of the state folder is
// an I/O error of the share.
template <typename Body>
int guarded(Body body) {
    try {
        return body();
    } catch (...) {
        return -EIO;
    }
}

int getattrOp(const char* path, struct stat* info, fuse_file_info* fi) {
    Appliance& appliance = begin("getattr", path);
    return guarded([&] {
        Appliance::Entry entry;
        if (!appliance.Find(path, entry)) return -ENOENT;
        *info = entry.info;
        if (S_ISDIR(info->st_mode)) {
            info->st_mode = S_IFDIR | 0555;
        } else {
            info->st_mode = S_IFREG | (appliance.IsParameterFile(entry.relative) ? 0644 : 0444);
        }
        if (const Handle* handle = handleOf(fi); handle && handle->written) {
            info->st_size = static_cast<off_t>(handle->written->size());
        }
        return 0;
    });
}

int accessOp(const char* path, int mask) {
    Appliance& appliance = begin("access", path);
    return guarded([&] {
        Appliance::Entry entry;
        if (!appliance.Find(path, entry)) return -ENOENT;
        const bool writable = S_ISREG(entry.info.st_mode) && appliance.IsParameterFile(entry.relative);
        return (mask & W_OK) && !writable ? -EACCES : 0;
    });
}

int openOp(const char* path, fuse_file_info* fi) {
    Appliance& appliance = begin("open", path);
    return guarded([&] {
        if (appliance.Restarting()) return -EIO;
        Appliance::Entry entry;
        if (!appliance.Find(path, entry)) return -ENOENT;
        if (S_ISDIR(entry.info.st_mode)) return -EISDIR;
        if ((fi->flags & O_ACCMODE) == O_RDWR && !(fi->flags & O_TRUNC) && served().settings.noReadWriteOpen) {
            return -EOPNOTSUPP;
        }
        auto handle = std::make_unique<Handle>();
        handle->relative = entry.relative;
        handle->writing = (fi->flags & O_ACCMODE) != O_RDONLY;
        handle->run = appliance.Run();
        if (handle->writing && !appliance.IsParameterFile(entry.relative)) return -EACCES;
        if (handle->writing && (fi->flags & O_TRUNC)) handle->written.emplace();
        // Contents change behind the client's back: no page cache.
        fi->direct_io = 1;
        fi->fh = reinterpret_cast<uint64_t>(handle.release());
        return 0;
    });
}

// A restart closes what was opened before it; while it lasts, the server
// reads and takes nothing.
bool serverGone(Appliance& appliance, const Handle& handle) {
    return appliance.Restarting() || handle.run != appliance.Run();
}

// The stored file's bytes at offset, read now.
int readStored(Appliance& appliance, const Handle& handle, char* buffer, size_t size, off_t offset) {
    const int fd = ::open(appliance.FullPath(handle.relative).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return -errno;
    const ssize_t got = ::pread(fd, buffer, size, offset);
    const int result = got < 0 ? -errno : static_cast<int>(got);
    ::close(fd);
    return result;
}

int readOp(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    Appliance& appliance = begin("read", path);
    const Handle* handle = handleOf(fi);
    return guarded([&] {
        if (serverGone(appliance, *handle)) return -EIO;
        if (!handle->written) return readStored(appliance, *handle, buffer, size, offset);
        const std::string& written = *handle->written;
        if (offset < 0 || static_cast<size_t>(offset) >= written.size()) return 0;
        const size_t count = std::min(size, written.size() - static_cast<size_t>(offset));
        std::memcpy(buffer, written.data() + offset, count);
        return static_cast<int>(count);
    });
}

// The handle's bytes to write into: from its first write on, its own copy.
std::string& writtenBytes(Appliance& appliance, Handle& handle) {
    if (!handle.written) handle.written = appliance.ReadFile(handle.relative);
    return *handle.written;
}

int writeOp(const char* path, const char* data, size_t size, off_t offset, fuse_file_info* fi) {
    Appliance& appliance = begin("write", path);
    Handle* handle = handleOf(fi);
    if (!handle->writing) return -EBADF;
    if (offset < 0 || size > static_cast<size_t>(kLargestFile) || offset > kLargestFile - static_cast<off_t>(size)) {
        return -EFBIG;
    }
    return guarded([&] {
        if (serverGone(appliance, *handle)) return -EIO;
        std::string& written = writtenBytes(appliance, *handle);
        const size_t end = static_cast<size_t>(offset) + size;
        if (written.size() < end) written.resize(end);
        std::memcpy(written.data() + offset, data, size);
        return static_cast<int>(size);
    });
}

int truncateOp(const char* path, off_t size, fuse_file_info* fi) {
    Appliance& appliance = begin("truncate", path);
    // Only a writer holding the file open may shorten it: a bare truncate
    // would leave the server half a file.
    Handle* handle = handleOf(fi);
    if (!handle || !handle->writing) return -EACCES;
    if (size < 0 || size > kLargestFile) return -EFBIG;
    return guarded([&] {
        if (serverGone(appliance, *handle)) return -EIO;
        writtenBytes(appliance, *handle).resize(static_cast<size_t>(size));
        return 0;
    });
}

// close() waits for this, so the server has done its part, and rewritten
// the file, before the writer reads it back. Release comes too late: it
// runs after close() has returned.
int flushOp(const char* path, fuse_file_info* fi) {
    Appliance& appliance = begin("flush", path);
    Handle* handle = handleOf(fi);
    if (!handle->written) return 0;
    return guarded([&] {
        // Taken or not, the handle reads the stored file again from now on.
        const std::string written = std::move(*handle->written);
        handle->written.reset();
        if (serverGone(appliance, *handle)) return -EIO;
        appliance.TakeWrittenFile(handle->relative, written);
        return 0;
    });
}

int releaseOp(const char* path, fuse_file_info* fi) {
    begin("release", path);
    std::unique_ptr<Handle> handle(handleOf(fi));
    return 0;
}

int fsyncOp(const char* path, int, fuse_file_info*) {
    begin("fsync", path);
    return 0;
}

int opendirOp(const char* path, fuse_file_info*) {
    Appliance& appliance = begin("opendir", path);
    return guarded([&] {
        if (appliance.Restarting()) return -EIO;
        Appliance::Entry entry;
        if (!appliance.Find(path, entry)) return -ENOENT;
        return S_ISDIR(entry.info.st_mode) ? 0 : -ENOTDIR;
    });
}

int readdirOp(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags) {
    Appliance& appliance = begin("readdir", path);
    return guarded([&] {
        Appliance::Entry entry;
        if (!appliance.Find(path, entry)) return -ENOENT;
        const std::string folder = appliance.FullPath(entry.relative);
        DIR* listing = ::opendir(folder.c_str());
        if (!listing) return -errno;
        fill(buffer, ".", nullptr, 0, fuse_fill_dir_flags{});
        fill(buffer, "..", nullptr, 0, fuse_fill_dir_flags{});
        while (const dirent* item = ::readdir(listing)) {
            const std::string name = item->d_name;
            struct stat info {};
            if (name == "." || name == ".." || ::lstat((folder + "/" + name).c_str(), &info) != 0) continue;
            if (Appliance::IsSaving(name)) continue;
            if (S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)) fill(buffer, name.c_str(), nullptr, 0, fuse_fill_dir_flags{});
        }
        ::closedir(listing);
        return 0;
    });
}

int releasedirOp(const char* path, fuse_file_info*) {
    begin("releasedir", path);
    return 0;
}

int statfsOp(const char* path, struct statvfs* info) {
    Appliance& appliance = begin("statfs", path);
    return ::statvfs(appliance.FullPath("").c_str(), info) == 0 ? 0 : -errno;
}

void* initOp(fuse_conn_info*, fuse_config* config) {
    // The server rewrites files behind the client's back, so attributes are
    // asked for every time. Names never change: lookups are kept for a
    // second, as a network share keeps them.
    config->attr_timeout = 0;
    config->negative_timeout = 0;
    config->entry_timeout = 1;
    config->direct_io = 1;
    return fuse_get_context()->private_data;
}

fuse_operations operations() {
    fuse_operations ops {};
    ops.init = initOp;
    ops.getattr = getattrOp;
    ops.access = accessOp;
    ops.open = openOp;
    ops.read = readOp;
    ops.write = writeOp;
    ops.truncate = truncateOp;
    ops.flush = flushOp;
    ops.release = releaseOp;
    ops.fsync = fsyncOp;
    ops.opendir = opendirOp;
    ops.readdir = readdirOp;
    ops.releasedir = releasedirOp;
    ops.statfs = statfsOp;
    // The share holds the appliance's files and no others.
    ops.create = [](const char* path, mode_t, fuse_file_info*) {
        begin("create", path);
        return -EACCES;
    };
    ops.mknod = [](const char* path, mode_t, dev_t) {
        begin("mknod", path);
        return -EACCES;
    };
    ops.mkdir = [](const char* path, mode_t) {
        begin("mkdir", path);
        return -EACCES;
    };
    ops.unlink = [](const char* path) {
        begin("unlink", path);
        return -EACCES;
    };
    ops.rmdir = [](const char* path) {
        begin("rmdir", path);
        return -EACCES;
    };
    ops.rename = [](const char* path, const char*, unsigned) {
        begin("rename", path);
        return -EACCES;
    };
    ops.symlink = [](const char*, const char* path) {
        begin("symlink", path);
        return -EACCES;
    };
    ops.link = [](const char*, const char* path) {
        begin("link", path);
        return -EACCES;
    };
    ops.chmod = [](const char* path, mode_t, fuse_file_info*) {
        begin("chmod", path);
        return -EPERM;
    };
    ops.chown = [](const char* path, uid_t, gid_t, fuse_file_info*) {
        begin("chown", path);
        return -EPERM;
    };
    ops.utimens = [](const char* path, const timespec*, fuse_file_info*) {
        begin("utimens", path);
        return -EPERM;
    };
    return ops;
}

}  // namespace

int ServeShare(Appliance& appliance, const SimSettings& settings, int statsFd) {
    ServedShare share{appliance, settings, statsFd, 0, {}};
    if (share.statsFd >= 0) writeStats(share);
    const fuse_operations ops = operations();
    const char* argv[] = {"tessaron-sim", "-o", "fsname=tessaron-sim,subtype=tessaron-sim"};
    fuse_args args = FUSE_ARGS_INIT(3, const_cast<char**>(argv));
    fuse* fs = fuse_new(&args, &ops, sizeof ops, &share);
    fuse_opt_free_args(&args);
    if (!fs) throw std::runtime_error("cannot set up the file system");
    if (fuse_mount(fs, settings.mountPoint.c_str()) != 0) {
        fuse_destroy(fs);
        throw std::runtime_error("cannot mount at " + settings.mountPoint +
                                 " (FUSE needs /dev/fuse and fusermount3, package fuse3)");
    }
    fuse_daemonize(settings.foreground ? 1 : 0);
    fuse_session* session = fuse_get_session(fs);
    fuse_set_signal_handlers(session);
    // One thread: the server does one thing at a time, as the appliance does.
    const int result = fuse_loop(fs);
    fuse_remove_signal_handlers(session);
    int code = result < 0 ? 1 : 0;
    try {
        appliance.Finish();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessaron-sim: %s\n", error.what());
        code = 1;
    }
    fuse_unmount(fs);
    fuse_destroy(fs);
    return code;
}
