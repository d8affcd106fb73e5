// identify: what the first line of the configuration file says.
#include "CommandSupport.h"
#include "FileException.h"
#include "ServerIdentity.h"
#include "StringIds.h"

namespace {

class IdentifyCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        const SharePtr opened = OpenShare(console, options.share);
        if (!opened) return ExitFileError;
        std::string firstLine;
        bool lineFound = false;
        try {
            lineFound = ReadFirstLine(console, *opened, firstLine);
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        const ServerIdentity identity = IdentifyFirstLine(lineFound, firstLine);
        if (!identity.accepted) return console.Message(kNotSupportedUnit, ExitNotSupported);
        if (!identity.versionSupported) console.Message(kUnsupportedVersion, ExitDone);
        PrintFields(console,
                    {{"product", identity.productTitle},
                     {"version", identity.version},
                     {"kind", std::to_string(identity.serverKind), true},
                     {"serial", SerialNumber(firstLine)}},
                    options.json);
        return ExitDone;
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeIdentifyCommand() { return std::make_unique<IdentifyCommand>(); }
