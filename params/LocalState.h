#pragma once

#include <string>
#include <vector>

// What the programs keep on this computer for the user: the history of their
// writes and the list of recent shares, under $XDG_STATE_HOME/tessaron
// (~/.local/state/tessaron when that is unset). Nothing of it is needed to
// use a share; both are turned off together by TESSARON_HISTORY=off in the
// environment or by the user's own choice, remembered here.

// The folder ("" when neither XDG_STATE_HOME nor HOME says where it is).
std::string LocalStateFolder();

// The history and the recent list are kept: not turned off by the
// environment, nor by the user's remembered choice.
bool KeepsLocalState();
// TESSARON_HISTORY=off in the environment turns them off, whatever the
// user's choice.
bool TurnedOffByEnvironment();
// The user's remembered choice (the environment aside). Raises StoreError
// when it cannot be remembered.
bool UserKeepsLocalState();
void SetUserKeepsLocalState(bool keep);

// The shares opened successfully before, newest first, at most
// kRecentShares of them.
inline constexpr int kRecentShares = 10;
std::vector<std::string> RecentShares();
// Puts a share's address at the top of the recent list, without any user
// name or password it carries; nothing when the local state is not kept.
// Raises StoreError.
void NoteRecentShare(const std::string& address);
// An address without the user name and password an smb:// address may
// carry (its scheme in lower case).
std::string WithoutCredentials(const std::string& address);

// Creates folder and the folders above it up to the state folder, each
// readable by the user alone. Raises StoreError.
void MakePrivateFolder(const std::string& folder);
// Writes bytes to a new file (readable by the user alone) under a temporary
// name, then renames it to path: a reader sees the old file or the new one.
// Raises StoreError.
void WritePrivateFile(const std::string& path, const std::string& bytes);
// The bytes of a file; false when it cannot be read.
bool ReadPrivateFile(const std::string& path, std::string& bytes);
