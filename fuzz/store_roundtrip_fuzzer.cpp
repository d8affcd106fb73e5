// Feeds arbitrary text to the parameter store and checks three things:
//  - reading builds the same store as adding each line with ParseLine and
//    AddParameter, the plain definition of reading;
//  - writing is stable: the canonical text, read and written again, comes
//    back unchanged, except for headers of sections that had nothing to
//    write. A section whose parameters are all empty list items (such as
//    an empty "SMBPassword") is written as its header alone; read back, a
//    header without parameters makes no section, so the next rewrite has no
//    such header.
//  - a write cut off before the file is shortened leaves the new text and
//    the padding that covers the old one's tail: it reads as the new text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ParameterHandler.h"
#include "ShareFile.h"

namespace {

std::string dump(const ParameterHandler& handler) {
    std::string out;
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        out += '[' + section.GetName() + "]\n";
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            out += parameter.GetKey() + '=' + parameter.GetValue() + '|' + parameter.GetComment() + '|' +
                   std::to_string(parameter.GetIndented()) + '\n';
        }
    }
    return out;
}

ParameterHandler readLineByLine(const std::string& text) {
    ParameterHandler handler;
    std::string current;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const ParsedLine parsed = ParseLine(text.substr(start, end - start));
        start = end + 1;
        if (!parsed.counts) continue;
        if (!parsed.section.empty()) {
            current = parsed.section;
        } else {
            handler.AddParameter(current, parsed.key, parsed.value, parsed.comment, parsed.indented);
        }
    }
    return handler;
}

// The canonical text without headers that no parameter line follows (the
// terminator, the last line, stays). Parameter lines always hold " = ";
// header lines never hold "=".
std::string withoutEmptyHeaders(const std::string& text) {
    std::string out;
    bool previousWasHeader = false;
    std::string pendingHeader;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start + 1);
        start = end + 1;
        const bool header = line.find('=') == std::string::npos;
        if (header) {
            pendingHeader = line;
            previousWasHeader = true;
            continue;
        }
        if (previousWasHeader) out += pendingHeader;
        previousWasHeader = false;
        out += line;
    }
    if (previousWasHeader) out += pendingHeader;
    return out;
}

[[noreturn]] void fail(const char* what, const std::string& expected, const std::string& actual) {
    std::fprintf(stderr, "%s\n--- expected ---\n%s\n--- actual ---\n%s\n", what, expected.c_str(), actual.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    ParameterHandler first;
    first.ReadText(input);
    const std::string reference = dump(readLineByLine(input));
    if (dump(first) != reference) fail("reading differs from line-by-line adding", reference, dump(first));

    const std::string written = first.Format();
    ParameterHandler second;
    second.ReadText(written);
    const std::string rewritten = second.Format();
    const std::string expected = withoutEmptyHeaders(written);
    if (rewritten != expected) fail("rewriting the written text changed it", expected, rewritten);

    const std::string bytes = BytesOfText(written);
    ParameterHandler cut;
    cut.ReadText(TextOfBytes(bytes + WritePadding(bytes.size(), bytes.size() + size)));
    if (dump(cut) != dump(second)) fail("the padded write reads differently", dump(second), dump(cut));
    return 0;
}
