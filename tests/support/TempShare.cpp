#include "TempShare.h"

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
