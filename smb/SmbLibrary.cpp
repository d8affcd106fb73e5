#include "SmbLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace {

// The name the library's package installs it under (libsmbclient0).
constexpr const char* LibraryName = "libsmbclient.so.0";

template <typename Function>
bool find(void* handle, const char* name, Function& function, std::string& problem) {
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    if (!function && problem.empty()) problem = std::string(LibraryName) + " has no " + name;
    return function != nullptr;
}

bool load(SmbLibrary& library, std::string& problem) {
    // Never closed: the library's allocations live until the process ends.
    void* handle = ::dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        problem = why ? why : LibraryName;
        return false;
    }
    bool all = true;
    all &= find(handle, "smbc_new_context", library.newContext, problem);
    all &= find(handle, "smbc_init_context", library.initContext, problem);
    all &= find(handle, "smbc_free_context", library.freeContext, problem);
    all &= find(handle, "smbc_setOptionUserData", library.setUserData, problem);
    all &= find(handle, "smbc_getOptionUserData", library.getUserData, problem);
    all &= find(handle, "smbc_setFunctionAuthDataWithContext", library.setAuthentication, problem);
    all &= find(handle, "smbc_setOptionOpenShareMode", library.setShareMode, problem);
    all &= find(handle, "smbc_setTimeout", library.setTimeout, problem);
    all &= find(handle, "smbc_getFunctionCheckServer", library.getCheckServer, problem);
    all &= find(handle, "smbc_setFunctionCheckServer", library.setCheckServer, problem);
    all &= find(handle, "smbc_getFunctionOpen", library.open, problem);
    all &= find(handle, "smbc_getFunctionRead", library.read, problem);
    all &= find(handle, "smbc_getFunctionWrite", library.write, problem);
    all &= find(handle, "smbc_getFunctionLseek", library.lseek, problem);
    all &= find(handle, "smbc_getFunctionFtruncate", library.ftruncate, problem);
    all &= find(handle, "smbc_getFunctionClose", library.close, problem);
    all &= find(handle, "smbc_getFunctionOpendir", library.opendir, problem);
    all &= find(handle, "smbc_getFunctionReaddir", library.readdir, problem);
    all &= find(handle, "smbc_getFunctionClosedir", library.closedir, problem);
    return all;
}

}  // namespace

const SmbLibrary* LoadSmbLibrary(std::string& problem) {
    static SmbLibrary library{};
    static std::string loadProblem;
    static bool loaded = false;
    static std::once_flag once;
    std::call_once(once, [] { loaded = load(library, loadProblem); });
    problem = loadProblem;
    return loaded ? &library : nullptr;
}
