#include "ServerRequests.h"

#include <initializer_list>

#include "FileException.h"
#include "ParameterHandler.h"
#include "ShareFile.h"

namespace {

void request(const std::string& serverPath, std::initializer_list<const char*> keys) {
    ParameterHandler handler;
    handler.Load(SharePath(serverPath, "\\Config\\Config.ini"), Configuration);
    for (const char* key : keys) {
        if (!handler.SetValue("Server", key, "yes")) throw FileException{};
    }
    handler.Write();
}

}  // namespace

void RequestRestart(const std::string& serverPath) { request(serverPath, {"Restart"}); }

void RequestFactoryDefaults(const std::string& serverPath) { request(serverPath, {"FactoryDefaults", "Restart"}); }
