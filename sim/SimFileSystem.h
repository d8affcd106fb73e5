#pragma once

#include "Appliance.h"

// Shows the appliance's share at settings.mountPoint through FUSE and serves
// it until SIGINT, SIGTERM or SIGHUP, then unmounts. Unless settings say
// foreground, the process goes to the background once the share is
// mounted. Keeps the operations' counts in the open file statsFd unless it
// is -1. Returns the exit code; throws std::runtime_error when the share
// cannot be mounted.
int ServeShare(Appliance& appliance, const SimSettings& settings, int statsFd);
