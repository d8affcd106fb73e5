#pragma once

#include <string>
#include <string_view>

#include "ControlType.h"

class DataExchangeContext;

// One key of a server file with its value, comment and catalogue attributes.
// Plain value type: copying copies all seven fields.
class Parameter {
public:
    Parameter() = default;
    Parameter(std::string_view key, std::string_view value, std::string_view comment, int indented);
    Parameter(const Parameter&) = default;
    Parameter& operator=(const Parameter&) = default;
    Parameter(Parameter&&) noexcept = default;
    Parameter& operator=(Parameter&&) noexcept = default;

    const std::string& GetKey() const { return key; }
    const std::string& GetValue() const { return value; }
    const std::string& GetComment() const { return comment; }
    int GetIndented() const { return indented; }
    int GetNameId() const { return nameId; }
    const std::string& GetTypeSpec() const { return typeSpec; }
    int GetCheckState() const { return checkState; }

    // Stores the text in the canonical form of this parameter's value check
    // (see Normalise); unchanged when the type string names none.
    void SetValue(const std::string& text);
    void SetComment(const std::string& text) { comment = text; }
    void SetIndented(int flag) { indented = flag; }
    void SetNameId(int id) { nameId = id; }
    void SetTypeSpec(const std::string& spec) { typeSpec = spec; }
    void SetCheckState(int state) { checkState = state; }

    // --- Type string queries ---
    // The control type the type string names (see ControlType).
    ControlType GetType() const;
    // The word that names it: "Unknown" or "UnknownCombo" without a type
    // string, else the word of the "{Type ...}" group as written.
    std::string GetTypeWord() const;
    std::string GetDDV() const;
    bool IsUpperCase() const;
    bool IsReadOnly() const;
    bool IsVerifiedAfterSubmit() const;
    bool IsRestartRequest() const;
    bool IsFactoryDefaultRequest() const;
    void AppendWriteMark();
    bool HasSameValue(const std::string& other) const;
    bool IsUnchanged(const std::string& other) const;
    bool IsConfirmed(const std::string& other) const;

    // --- Value validation and normalisation ---
    // Canonical form of text for this parameter's value check kind.
    std::string Normalise(const std::string& text) const;
    // Checks the stored value inside a data exchange that saves the controls;
    // on a violation shows the message and fails the exchange.
    void Validate(DataExchangeContext& exchange, int controlId) const;

private:
    std::string key;
    std::string value;
    std::string comment;
    int indented = 0;
    int nameId = 0;
    std::string typeSpec;
    int checkState = 0;
};
