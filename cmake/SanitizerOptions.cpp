// The sanitizer runtimes' options, built into every program and test
// program of the sanitizer build: a test run by hand behaves as under
// ctest, and a program's children (the probes of tessaron-ctl discover, of
// the window's first dialog) as their parent.

extern "C" {

const char* __asan_default_options() { return "detect_leaks=1"; }

const char* __ubsan_default_options() { return "print_stacktrace=1"; }

// libsmbclient keeps its log file's name, allocated through talloc, for the
// life of the process. Only it uses talloc here, and its stacks end there.
const char* __lsan_default_options() { return "print_suppressions=0"; }

const char* __lsan_default_suppressions() { return "leak:libtalloc.so\n"; }

}
