#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

// Holds an exclusive lock on a file through a descriptor of its own, as
// another program that has the file open would.
class FileLock {
public:
    explicit FileLock(const std::string& path) : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) throw std::runtime_error("cannot lock " + path);
    }
    ~FileLock() { ::close(fd); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd;
};
