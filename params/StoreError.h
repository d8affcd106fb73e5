#pragma once

#include <exception>
#include <string>

// What went wrong with a server file: the file's path and the reason in the
// operating system's words (or the program's, where the system gives none).
// Every error the store raises derives from it, so a caller that only
// reports the failure catches this one type; the program's own message says
// what the user action could not do, this says why.
class StoreError : public std::exception {
public:
    StoreError() = default;
    StoreError(std::string path, std::string reason, int messageId = 0);
    // A failure of a system call: its error number, and the system's reason
    // for it unless another is given.
    static StoreError System(std::string path, int errnoValue, std::string reason = {});

    const std::string& Path() const { return path; }
    const std::string& Reason() const { return reason; }
    // A message of the program's that the store asks to show before the
    // caller's own (0 for none).
    int MessageId() const { return messageId; }
    // The system's error number behind the failure, or 0.
    int SystemCode() const { return systemCode; }
    // "path: reason", or whichever of the two is known; empty when neither.
    std::string Detail() const;
    const char* what() const noexcept override;

private:
    std::string path;
    std::string reason;
    int messageId = 0;
    int systemCode = 0;
    std::string text;
};

// The reason of the operating system's error number errnoValue.
std::string SystemReason(int errnoValue);
