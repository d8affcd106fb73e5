#pragma once

#include <functional>

// The store shows one message of its own (1021, a key missing in
// ParameterSection::GetParameter). The program routes it to its message
// routine; without a route the message is dropped and only the exception
// reports the failure.
using StoreMessageRoute = std::function<void(int stringId)>;
void SetStoreMessageRoute(StoreMessageRoute route);
void ShowStoreMessage(int stringId);
