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

void setYes(ParameterHandler& store, const char* key) {
    // Without the key the server would never see the request.
    if (!store.SetValue(ServerSection, key, Yes)) {
        throw FileException(store.GetPath(), std::string("no parameter ") + key + " in [" + ServerSection + "]");
    }
}

}  // namespace

bool AsksFactoryDefaults(const ParameterHandler& store) {
    std::string value;
    return store.GetValue(ServerSection, FactoryDefaultsKey, value) && value == Yes;
}

void AddRestartToFactoryDefaults(ParameterHandler& store) {
    if (AsksFactoryDefaults(store)) setYes(store, RestartKey);
}

ServerRequest::ServerRequest(const SharePtr& share, Kind kind) : kind(kind) {
    store.Load(share, ServerFile::Configuration, CatalogueOf(Configuration));
}

bool ServerRequest::CarriesPendingFactoryReset() const { return kind == Restart && AsksFactoryDefaults(store); }

void ServerRequest::Send() {
    // Both keys are set before the one write, so a file lacking either gets
    // neither.
    if (kind == FactoryDefaults) setYes(store, FactoryDefaultsKey);
    setYes(store, RestartKey);
    store.Write();
}
