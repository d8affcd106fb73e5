// Placeholder bodies so the store links before the type-specification rules
// land; replaced whole by the real rules.
#include "DataExchangeContext.h"
#include "Parameter.h"

std::string Parameter::GetType() const { return "Unknown"; }
std::string Parameter::GetDDV() const { return {}; }
bool Parameter::IsUpperCase() const { return false; }
bool Parameter::IsReadOnly() const { return false; }
bool Parameter::IsVerifiedAfterSubmit() const { return true; }
bool Parameter::IsRestartRequest() const { return false; }
bool Parameter::IsFactoryDefaultRequest() const { return false; }
void Parameter::AppendWriteMark() {}
bool Parameter::HasSameValue(const std::string& other) const { return value == other; }
bool Parameter::IsUnchanged(const std::string& other) const { return HasSameValue(other); }
bool Parameter::IsConfirmed(const std::string& other) const { return HasSameValue(other); }
std::string Parameter::Normalise(const std::string& text) const { return text; }
void Parameter::Validate(DataExchangeContext&, int) const {}
