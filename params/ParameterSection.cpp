#include "ParameterSection.h"

#include <utility>

#include "FileException.h"

std::string ParameterSection::missingKey(const std::string& key) const {
    return "no parameter " + key + (name.empty() ? std::string() : " in [" + name + "]");
}

ParameterSection::ParameterSection(std::string name, int titleId) : name(std::move(name)), titleId(titleId) {}

int ParameterSection::IndexOf(const std::string& key) const {
    for (size_t i = 0; i < parameters.size(); ++i) {
        if (parameters[i].GetKey() == key) return static_cast<int>(i);
    }
    return -1;
}

void ParameterSection::SetParameterAttributes(std::string_view key, int nameId, std::string_view typeSpec) {
    for (Parameter& parameter : parameters) {
        if (parameter.GetKey() != key) continue;
        parameter.SetNameId(nameId);
        parameter.SetTypeSpec(std::string(typeSpec));
    }
}

bool ParameterSection::GetValue(const std::string& key, std::string& value) const {
    const int index = IndexOf(key);
    if (index < 0) return false;
    value = parameters[index].GetValue();
    return true;
}

void ParameterSection::SetValue(const std::string& key, const std::string& value) {
    const int index = IndexOf(key);
    if (index < 0) throw ParameterNotFound({}, missingKey(key));
    parameters[index].SetValue(value);
}

Parameter ParameterSection::GetParameter(const std::string& key) const {
    const int index = IndexOf(key);
    constexpr int cannotAccessParameterFile = 1021;
    if (index < 0) throw FileException({}, missingKey(key), cannotAccessParameterFile);
    return parameters[index];
}

void ParameterSection::Add(const Parameter& parameter) {
    const int index = IndexOf(parameter.GetKey());
    if (index < 0) {
        parameters.push_back(parameter);
        return;
    }
    parameters[index].SetValue(parameter.GetValue());
    parameters[index].SetComment(parameter.GetComment());
}

void ParameterSection::KeepRange(int first, int count) {
    if (first < 0 || count < 0 || static_cast<long long>(first) + count > GetParameterCount()) return;
    parameters.erase(parameters.begin() + first + count, parameters.end());
    parameters.erase(parameters.begin(), parameters.begin() + first);
}

bool ParameterSection::IsEqual(const ParameterSection& other) const {
    for (const Parameter& parameter : parameters) {
        std::string otherValue;
        if (!other.GetValue(parameter.GetKey(), otherValue)) return false;
        if (!parameter.IsUnchanged(otherValue)) return false;
    }
    return true;
}

bool ParameterSection::OnlyNoValidSubmitChanged(const ParameterSection& other) const {
    for (const Parameter& parameter : parameters) {
        std::string otherValue;
        if (!other.GetValue(parameter.GetKey(), otherValue)) return false;
        if (parameter.GetType() == ControlType::NoCheck) continue;
        if (!parameter.IsConfirmed(otherValue)) return false;
    }
    return true;
}
