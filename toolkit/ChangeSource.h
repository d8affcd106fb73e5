#pragma once

#include <string>
#include <vector>

#include "ChangeSet.h"

// A page whose Submit writes a server file: what that Submit would change
// now, and taking one of those changes back before it is made. The main
// window's Pending Changes list shows it.
class ChangeSource {
public:
    struct PendingChange {
        Change change;
        std::string name;  // the name the page shows the parameter under
        // A value the user changed on the page (not one the write adds by
        // itself, such as the restart that goes with a factory reset).
        bool revertible = false;
    };
    struct PendingChanges {
        std::string file;  // below the share ("Config/Config.ini"); "" when the page shows none
        std::vector<PendingChange> changes;
    };

    virtual ~ChangeSource() = default;
    // What the page's Submit would write now, in the order it takes the
    // values; nothing is checked or written. Raises StoreError.
    virtual PendingChanges Pending() = 0;
    // Shows the value read again in the field of a revertible change.
    virtual void Revert(const Change& change) = 0;
    // Reads the file again and shows it, when the page has nothing pending
    // (the file was written from elsewhere in the program).
    virtual void ShowFileAgain() = 0;
};
