#include "StoreMessages.h"

#include <utility>

namespace {
StoreMessageRoute& route() {
    static StoreMessageRoute current;
    return current;
}
}  // namespace

void SetStoreMessageRoute(StoreMessageRoute newRoute) { route() = std::move(newRoute); }

void ShowStoreMessage(int stringId) {
    if (route()) route()(stringId);
}
