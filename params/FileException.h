#pragma once

#include "StoreError.h"

// Raised when a server file cannot be opened, read or written: the file is
// missing, another process holds it locked, the share is unreachable, or it
// lacks what the action needs. Every user action reports it with a message
// of its own, followed by the path and reason it carries.
class FileException : public StoreError {
public:
    using StoreError::StoreError;
};
