#pragma once

#include <string>

#include "StoreError.h"

// Raised when a server file cannot be opened, read or written: the file is
// missing, another process holds it locked, the share is unreachable, or it
// lacks what the action needs. Every user action reports it with a message
// of its own, followed by the path and reason it carries.
class FileException : public StoreError {
public:
    using StoreError::StoreError;
    explicit FileException(const StoreError& error) : StoreError(error) {}
};

// The file no longer holds what was read from it: another program changed
// it in between, and writing now would undo that change.
class FileChangedMeanwhile : public FileException {
public:
    explicit FileChangedMeanwhile(const std::string& path)
        : FileException(path, "the file was changed by another program meanwhile") {}
};
