// Linked into every test program: what the programs keep for the user (the
// history of their writes, the recent shares) goes to the build folder, never
// to the home of whoever runs the tests. Tests of that state set their own.
#include <cstdlib>

namespace {

const bool privateState = [] { return ::setenv("XDG_STATE_HOME", TESSARON_TEST_STATE, 1) == 0; }();

}  // namespace
