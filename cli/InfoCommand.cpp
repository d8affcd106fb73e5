// info: what the General page of the management shows.
#include "CommandSupport.h"
#include "ServerFacts.h"
#include "ServerIdentity.h"

namespace {

constexpr int kValuesMissing = 1008;

class InfoCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        const SharePtr opened = OpenShare(console, options.share);
        if (!opened) return ExitFileError;
        ServerFacts facts;
        ServerIdentity identity;
        try {
            identity = IdentifyServer(*opened);
            if (!identity.accepted) return console.Message(kNotSupportedUnit, ExitNotSupported);
            ReadServerFacts(opened, identity.version, facts);
        } catch (const StoreError& error) {
            return console.Failure(kValuesMissing, error, ExitFileError);
        }
        if (!identity.versionSupported) console.Message(kUnsupportedVersion, ExitDone);

        // Each fact shown, in the General page's order; a missing address is
        // left out.
        std::vector<Field> fields = {{"serial", facts.serialNumber},
                                     {"version", facts.softwareVersion},
                                     {"kind", std::to_string(identity.serverKind), true}};
        for (int a = 0; a < ServerFacts::AddressCount; ++a) {
            const auto address = static_cast<ServerFacts::Address>(a);
            if (facts.found[a]) fields.push_back({ParameterOf(address).name, facts.addresses[a]});
        }
        PrintFields(console, fields, options.json);
        return ExitDone;
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeInfoCommand() { return std::make_unique<InfoCommand>(); }
