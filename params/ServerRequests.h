#pragma once

#include <string>

// Requests the server acts on when it next reads its configuration file.
// Each is one load, the changed values and one write of \Config\Config.ini.
// Raise FileException when the file cannot be read or written, and also when
// it lacks the key the request sets: then nothing is written, since the
// server would never see the request.

// Sets Server/Restart to "yes".
void RequestRestart(const std::string& serverPath);
// Sets Server/FactoryDefaults and then Server/Restart to "yes".
void RequestFactoryDefaults(const std::string& serverPath);
