#pragma once

// Shows the wait cursor for its lifetime; nests. Every operation that reads
// or writes the server holds one, so the cursor comes back on every path out,
// exceptions included.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
