#pragma once

// Raised when a server file cannot be opened for reading or writing: the file
// is missing, another process holds it locked, or the share is unreachable.
// It carries no data; every user action reports it with a message of its own.
struct FileException {};
