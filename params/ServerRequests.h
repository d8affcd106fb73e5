#pragma once

#include <optional>
#include <string>

#include "ChangeSet.h"
#include "ParameterHandler.h"
#include "SubmitPlan.h"

// Requests the server acts on when it next reads its configuration file: a
// restart (Server/Restart = "yes"), or a return to the factory settings
// (Server/FactoryDefaults = "yes"), which the server carries out when it
// restarts. A write that sets Restart = "yes" therefore also resets the
// server whenever the file already holds FactoryDefaults = "yes"; that reset
// must be confirmed in the same action as the write.

// True when the store holds Server/FactoryDefaults = "yes".
bool AsksFactoryDefaults(const ParameterHandler& store);

// Sets Server/Restart to "yes" when the store asks for the factory defaults,
// so the two always travel together. Raises FileException, writing nothing,
// when the file has no Restart key to carry the request.
void AddRestartToFactoryDefaults(ParameterHandler& store);
// Raises the FileException AddRestartToFactoryDefaults would raise, changing
// nothing.
void CheckRestartToFactoryDefaults(const ParameterHandler& store);

// One restart or factory-defaults request: one load of the configuration
// file, the keys set and one write.
class ServerRequest {
public:
    enum Kind { Restart, FactoryDefaults };

    // Loads the configuration file. Raises FileException.
    ServerRequest(const SharePtr& share, Kind kind);

    // The file already asks for the factory defaults although this request
    // does not: sending it would reset the server as well, which needs its
    // own confirmation first.
    bool CarriesPendingFactoryReset() const;

    // What sending it writes. Raises FileException when the file lacks a
    // key the request sets.
    ChangeSet Changes() const;

    // Sets the keys to "yes" and writes the file once. Raises FileException;
    // a file that lacks a key the request sets is left unwritten.
    void Send();
    // After Send: the plan that wrote it (its bytes before and after).
    const SubmitPlan& Sent() const { return *sent; }

private:
    SubmitPlan planned(const ParameterHandler& from) const;

    Kind kind;
    ParameterHandler store;
    std::optional<SubmitPlan> sent;
};
