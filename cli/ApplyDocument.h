#pragma once

#include <string>
#include <vector>

// The document `tessaron-ctl apply` takes: a JSON object whose keys name
// files as --file does, each holding an object of sections ("" the unnamed
// one), each an object of keys and their wanted values (a string, or a list
// of strings for a repeated key). Parsed here in the document's order; what
// the share holds is judged by the command.

// One wanted value: where it stands in the document, and its text in the
// server's bytes (a list joined with " ; ", as the store joins a repeated
// key).
struct WantedValue {
    std::string section;
    std::string key;
    std::string value;
    std::string where;  // its JSON path, "$.config.IP.NetMask"
};

struct WantedFile {
    std::string name;   // as the document names it, for ChooseFile
    std::string where;  // "$.config"
    std::vector<WantedValue> values;
};

// A refusal: the JSON path of the first offending part, and why.
struct DocumentRefusal {
    std::string where;
    std::string why;
};

// Parses the document's UTF-8 text. False with the refusal when it is not
// valid JSON, or a part of it has the wrong shape, or a value holds a
// character the server cannot store.
bool ParseApplyDocument(const std::string& text, std::vector<WantedFile>& files, DocumentRefusal& refusal);

// The JSON path of a member of the part at where: ".name" when the name is
// a plain word, ["name"] otherwise.
std::string MemberPath(const std::string& where, const std::string& name);
