// Options the sanitizer runtimes read at start-up, built into every test
// program of the sanitizer build, so that a test run by hand behaves as
// under ctest.

extern "C" {

const char* __asan_default_options() { return "detect_leaks=1"; }

const char* __ubsan_default_options() { return "print_stacktrace=1"; }

// libsmbclient keeps the name of its log file for the life of the process:
// allocated through talloc when the first SMB context is created, and never
// freed. Only libsmbclient uses talloc here, and that library has no frame
// pointers, so the allocation's stack names no more than talloc itself.
const char* __lsan_default_options() { return "print_suppressions=0"; }

const char* __lsan_default_suppressions() { return "leak:libtalloc.so\n"; }

}
