#include "TempShare.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempShare::TempShare(Contents contents) {
    std::string pattern = (fs::temp_directory_path() / "tessaron-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary share");
    root = pattern;
    if (contents == Contents::Sample) {
        fs::copy(TESSARON_SAMPLE_SHARE, root, fs::copy_options::recursive);
    }
}

TempShare::~TempShare() {
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

void TempShare::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path path = root / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string TempShare::Read(const std::string& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + PathOf(relative));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

namespace {

// The effective capabilities of this thread (the first 32), changed to
// effective when set is true.
unsigned capabilities(bool set, unsigned effective) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    syscall(SYS_capget, &header, data);
    const unsigned was = data[0].effective;
    if (set) {
        data[0].effective = effective;
        syscall(SYS_capset, &header, data);
    }
    return was;
}

constexpr unsigned readPastPermissions = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

}  // namespace

UnreadableFolder::UnreadableFolder(std::string folder) : path(std::move(folder)) {
    fs::permissions(path, fs::perms::none);
    const unsigned was = capabilities(false, 0);
    effective = was & readPastPermissions;
    capabilities(true, was & ~readPastPermissions);
}

UnreadableFolder::~UnreadableFolder() {
    capabilities(true, capabilities(false, 0) | effective);
    fs::permissions(path, fs::perms::owner_all);
}
