#include "StoreError.h"

#include <cstring>
#include <utility>

StoreError::StoreError(std::string path, std::string reason, int messageId)
    : path(std::move(path)), reason(std::move(reason)), messageId(messageId), text(Detail()) {}

StoreError StoreError::System(std::string path, int errnoValue, std::string reason) {
    StoreError error(std::move(path), reason.empty() ? SystemReason(errnoValue) : std::move(reason));
    error.systemCode = errnoValue;
    return error;
}

std::string StoreError::Detail() const {
    if (path.empty()) return reason;
    if (reason.empty()) return path;
    return path + ": " + reason;
}

const char* StoreError::what() const noexcept { return text.empty() ? "server file error" : text.c_str(); }

std::string SystemReason(int errnoValue) {
    char buffer[256];
    // The GNU variant returns the text, which may or may not be in buffer.
    return strerror_r(errnoValue, buffer, sizeof buffer);
}
