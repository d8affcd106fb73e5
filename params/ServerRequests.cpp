#include "ServerRequests.h"

#include "Catalogue.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"

namespace {

constexpr const char* ServerSection = "Server";
constexpr const char* RestartKey = "Restart";
constexpr const char* FactoryDefaultsKey = "FactoryDefaults";
constexpr const char* Yes = "yes";

// Without the key the server would never see the request.
void requireKey(const ParameterHandler& store, const char* key) {
    std::string value;
    if (!store.GetValue(ServerSection, key, value)) {
        throw FileException(store.GetPath(), std::string("no parameter ") + key + " in [" + ServerSection + "]");
    }
}

void setYes(ParameterHandler& store, const char* key) {
    requireKey(store, key);
    store.SetValue(ServerSection, key, Yes);
}

}  // namespace

bool AsksFactoryDefaults(const ParameterHandler& store) {
    std::string value;
    return store.GetValue(ServerSection, FactoryDefaultsKey, value) && value == Yes;
}

void AddRestartToFactoryDefaults(ParameterHandler& store) {
    if (AsksFactoryDefaults(store)) setYes(store, RestartKey);
}

void CheckRestartToFactoryDefaults(const ParameterHandler& store) {
    if (AsksFactoryDefaults(store)) requireKey(store, RestartKey);
}

ServerRequest::ServerRequest(const SharePtr& share, Kind kind) : kind(kind) {
    store.Load(share, ServerFile::Configuration, CatalogueOf(Configuration));
}

bool ServerRequest::CarriesPendingFactoryReset() const { return kind == Restart && AsksFactoryDefaults(store); }

SubmitPlan ServerRequest::planned(const ParameterHandler& from) const {
    // Both keys are looked for before either is set, so a file lacking one
    // gets neither.
    if (kind == FactoryDefaults) requireKey(from, FactoryDefaultsKey);
    requireKey(from, RestartKey);
    SubmitPlan plan(from);
    if (kind == FactoryDefaults) plan.Set(ServerSection, FactoryDefaultsKey, Yes, false);
    plan.Set(ServerSection, RestartKey, Yes, false);
    return plan;
}

ChangeSet ServerRequest::Changes() const { return planned(store).Changes(); }

void ServerRequest::Send() {
    sent.emplace(planned(store));
    sent->Write();
}
