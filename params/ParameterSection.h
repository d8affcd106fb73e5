#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Parameter.h"
#include "StoreError.h"

// An ordered list of parameters under one section name. Value type: copying
// copies the name, the title and every parameter.
class ParameterSection {
public:
    ParameterSection() = default;
    explicit ParameterSection(std::string name, int titleId = 0);
    ParameterSection(const ParameterSection&) = default;
    ParameterSection& operator=(const ParameterSection&) = default;
    ParameterSection(ParameterSection&&) noexcept = default;
    ParameterSection& operator=(ParameterSection&&) noexcept = default;

    const std::string& GetName() const { return name; }
    int GetTitleId() const { return titleId; }
    void SetTitleId(int id) { titleId = id; }

    int GetParameterCount() const { return static_cast<int>(parameters.size()); }
    Parameter GetParameterAt(int index) const { return parameters.at(index); }
    Parameter& ParameterAt(int index) { return parameters.at(index); }
    const Parameter& ParameterAt(int index) const { return parameters.at(index); }

    // Found flag; value is left untouched when the key is absent.
    bool GetValue(const std::string& key, std::string& value) const;
    std::string GetValueAt(int index) const { return parameters.at(index).GetValue(); }
    // Normalised store; throws ParameterNotFound when no parameter has the key.
    void SetValue(const std::string& key, const std::string& value);
    void SetValueAt(int index, const std::string& value) { parameters.at(index).SetValue(value); }
    // Throws FileException when the key is absent; it asks for message 1021
    // ("Could not access parameter file!") before the caller's own.
    Parameter GetParameter(const std::string& key) const;
    // Replaces value (normalised) and comment of an existing key, else appends a copy.
    void Add(const Parameter& parameter);
    // Appends without looking for the key: for callers that know it is new.
    void Append(Parameter parameter) { parameters.push_back(std::move(parameter)); }
    void Append(std::string_view key, std::string_view value, std::string_view comment, int indented) {
        parameters.emplace_back(key, value, comment, indented);
    }
    // Makes room for count parameters in all (a hint for bulk reading).
    void Reserve(size_t count) { parameters.reserve(count); }
    size_t Capacity() const { return parameters.capacity(); }
    // Keeps parameters first .. first+count-1; ignores an out-of-range request.
    void KeepRange(int first, int count);

    // Nothing on this page was changed compared with other (before a submit).
    bool IsEqual(const ParameterSection& other) const;
    // The server took the submitted values (other) as read back into this section.
    bool OnlyNoValidSubmitChanged(const ParameterSection& other) const;

    // Index of the first parameter with that key, or -1.
    int IndexOf(const std::string& key) const;
    // Gives every parameter with that key its name ID and type string.
    void SetParameterAttributes(std::string_view key, int nameId, std::string_view typeSpec);

private:
    std::string missingKey(const std::string& key) const;

    std::string name;
    std::vector<Parameter> parameters;
    int titleId = 0;
};

// Raised by ParameterSection::SetValue for a key the section does not hold.
class ParameterNotFound : public StoreError {
public:
    using StoreError::StoreError;
};
