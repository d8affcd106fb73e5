#include "StringTable.h"

#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The program's string table. Texts are kept exactly as the product has always
// shown them, spelling included, since users and scripts recognise them.
namespace {

constexpr std::pair<int, std::string_view> kEntries[] = {
        // --- Branding and window captions ---
        {101, "&About QUOR Tessaron Configuration..."},
#ifdef TESSARON_OEM_BUILD
        {102, "JQ"},
#else
        {102, "Quor"},
#endif
        {111, "Quick Installation"},
        {112, "Network CD-ROM Server"},
        {113, "Configuration"},
        {114, "Management"},
        {122, "Network HD Server"},
        {123, "Network Server"},
        {130, "Establishing connection..."},
        {137, "QUOR Tessaron Configuration"},
        {138, "JQ CD-ROM Server Utility"},
        {139, "Server Statistics"},
        {140, "&About JQ CD-ROM Server Utility..."},
        {141, "QUOR Tessaron CD"},
        {142, "QUOR Tessaron HD"},
        {143, "Server Event Log"},

        // --- Questions and results of submits, restarts and factory defaults ---
        {104, "One or more values have been changed!\n\nDo you wish to submit the new settings?"},
        {115, "Are you sure you want to restart the server?\n\nNote: This closes the Configuration window."},
        {116, "Are you sure you want to change the parameter values to factory default settings?\n\n"
              "Note: This restarts the server and closes the Configuration window."},
        {124, "Nothing has been changed!"},
        {125, "New settings were successfully submitted!\n\n"
              "Note: You have to restart the server to make the new settings take effect."},
        {126, "Unsuccessful setting!"},
        {127, "One or more parameters have been changed.\n\nDo you want to restart the server?"},
        {128, "Setting Restart to \"yes\" will cause the server to restart and the Configuration window "
              "to close down.\n\nAre you sure you want to continue?"},
        {129, "Setting Factory Default to \"yes\" will cause the server to restart and the Configuration "
              "window to close down.\n\nAre you sure you want to continue?"},
        {131, "It will take a moment before the server is up and running again."},
        {134, "Enter a value in the form XX-XX-XX-XX"},
        {135, "Enter server names separated with commas.\nNote: Do not include spaces!"},
        {136, "New settings were successfully submitted!"},

        // --- Error and warning messages ---
        {1000, "Could not start the Explorer!"},
        {1002, "Could not open statistics file!"},
        {1003, "The software version in the server may not be fully supported by this program.\n\n"
               "Note: Configuration parameters marked with asterisk may not be checked for validation, "
               "use with care!"},
        {1004, "Could not get necessary server files!\n\nProperty page will not be available."},
        {1005, "Could not get necessary server files!\n\nConfiguration pages will not be available."},
        {1006, "Could not get necessary server files!\n\nQuick Installation will not be available."},
        {1007, "Could not communicate with the server!"},
        {1008, "Could not get necessary server files!\n\nSome parameter values might be missing."},
        {1009, "This property tab has to many parameters.\n\nSome parameters will not be shown."},
        {1010, "Unresolved error occured.\n\nConfiguration window will close down."},
        {1011, "Could not get necessary server files!\n\nManagement pages will not be available."},
        {1013, "Unable to open SCSI file!"},
        {1015, "There are no SCSI drives."},
        {1016, "There are no volume rights files."},
        {1018, "The accessed server is not a supported unit!"},
        {1020, "A server name can not be longer than 47 characters."},
        {1021, "Could not access parameter file!"},
        {1022, "Illegal parameter value!\n\nPress F1 for more help."},
        {1024, "Time must have the format hh:mm:ss"},
        {1025, "Date must have the format yy-mm-dd"},
        {1026, "Could not open event log!"},

        // --- Configuration file: section titles and parameter names ---
        {10100, "Server"},
        {10101, "Hardware Address"},
        {10102, "Factory Defaults"},
        {10103, "Restart"},
        {10104, "Media Agent Mode"},
        {10105, "Date"},
        {10106, "Time"},
        {10107, "Source Routing"},
        {10108, "Time Zone"},
        {10109, "Time Sync Source"},
        {10200, "SCSI"},
        {10201, "SCSI Termination"},
        {10202, "Jukebox Lock Time"},
        {10203, "SCSI Termination 1"},
        {10204, "SCSI Termination 2"},
        {10300, "IP"},
        {10301, "Internet Address"},
        {10302, "Default Router"},
        {10303, "NetMask"},
        {10304, "Enable BOOTP"},
        {10305, "Enable RARP"},
        {10400, "SMB"},
        {10401, "Enable NetBEUI"},
        {10402, "Enable NBT"},
        {10403, "Domain/Group Name"},
        {10404, "Server Name"},
        {10405, "NetBEUI Frame Type"},
        {10406, "Show Pseudo Shares"},
        {10500, "NFS"},
        {10501, "Enable NFS"},
        {10502, "Default Uid"},
        {10503, "PCNFSD Authent. Server"},
        {10600, "HTTP/FTP"},
        {10601, "Password"},
        {10602, "Enable HTTP"},
        {10603, "Base URL"},
        {10700, "SNMP"},
        {10701, "Get Community Name"},
        {10702, "Set Community Name"},
        {10703, "Trap Destination"},
        {10704, "System Contact"},
        {10705, "System Name"},
        {10706, "System Location"},
        {10707, "Authentication Trap"},
        {10708, "Trap Community Name"},
        {10800, "NetWare"},
        {10801, "Enable NetWare"},
        {10802, "Frame 802.2"},
        {10803, "Frame 802.3"},
        {10804, "Frame EthernetII"},
        {10805, "Frame SNAP"},
        {10806, "Server Name"},
        {10807, "Internal Net Address"},
        {10808, "Burst Mode"},
        {10809, "Supervisor Password"},
        {10810, "Bind Authentication"},
        {10811, "Authentication Server"},
        {10812, "Enable Bindery"},
        {10813, "Enable NDS"},
        {10814, "NDS Tree Name"},
        {10815, "NDS Server Context"},
        {10816, "NDS Admin. Name"},
        {10817, "NDS Admin. Password"},
        {10818, "NDS Install"},
        {10819, "Time Sync Sources"},

        // --- SCSI drive file: parameter names ---
        {20100, "Drive"},
        {20101, "Volume Name"},
        {20102, "Lock Eject"},
        {20103, "SCSI Alias"},

        // --- Volume rights files: parameter names ---
        {20200, "Name"},
        {20201, "Alias"},
        {20202, "User Limit"},
        {20203, "Session Timeout"},
        {20204, "SMB Password"},
        {20205, "NetWare User/Group"},
        {20206, "NFS IP Address"},
        {20207, "NFS Group"},
        {20208, "NFS User"},
        {20209, "Lock Eject"},
        {20210, "Drive Name"},
        {20211, "Comment"},
        {20212, "Inserted Volume"},

        // --- Titles of the generated management pages ---
        {30001, "Volume Rights"},
        {30002, "SCSI"},

        // --- The value checks' own prompts; %1 and %2 stand for the limits ---
        {60001, "The value may hold at most %1 characters."},
        {60002, "Enter a whole number from %1 to %2."},

        // --- Finding the share on this computer ---
        {60021, "The folder %1 does not exist."},
        {60022, "The folder %1 is not a server's share: it holds no Config/Config.ini."},
        {60023, "The character %1 cannot be stored on the server."},
        {60025, "The server refused access to %1. Log in with a user name and password:"},
        {60026, "&User name:"},
        {60027, "&Password:"},
        {60028, "Volume rights files"},
        {60029, "SCSI drives"},
        {60024, "Give a user name with --user (or TESSARON_SMB_USER) and the password in TESSARON_SMB_PASSWORD."},

        // --- What the share holds that is not as it should be ---
        {60060, "The file %1 is empty (0 bytes): it holds no parameters."},
        {60061, "The folder of volume %1 could not be read: its volume rights files are not listed."},

        // --- The command-line companion ---
        {60011, "There is no section %1 in %2."},
        {60012, "There is no parameter %1 in %2."},
        {60013, "The parameter %1 cannot be changed."},
        {60014, "The value of %1 must not contain a line break."},
        {60015, "Give each parameter as SECTION KEY VALUE: three arguments for each."},
        {60016, "Choose one of: %1"},
        {60017, "Add --yes to confirm."},
        {60018, "The value of %1 was not taken."},
        {60019, "The server's configuration file already asks for the factory settings "
                "(FactoryDefaults = yes): a restart now also returns the server to its factory settings."},
        {60020, "Add --factory-defaults --yes to confirm that."},
        {60030, "It has %1."},
        {60033, "'%1' is not a command."},
        {60034, "'%1' is not a command; did you mean '%2'?"},
        {60035, "format --in-place needs a file: standard input cannot be rewritten."},
        {60036, "%1 is not a parameter file: the server's reports and the files of its Cd folder are neither read "
                "nor written as parameters."},
        {60037, "kept: %1 %2 %3"},
        {60038, "not kept: %1 %2 (the file has %3)"},
        {60039, "not kept: %1 %2 (the file has no such parameter)"},

        // --- The command line and the history of changes ---
        {60100, "The change was written, but the history of changes could not be kept (%1)."},
        {60101, "The history of changes holds the last write of %1: write %2, made at %3 (serial number %4). "
                "To write those bytes back:"},
        {60102, "No change of %1 has been recorded."},
        {60103, "The history of changes holds no write %1 of %2."},
        {60104, "The history of changes is turned off (TESSARON_HISTORY=off, or \"Keep a History of Changes\" "
                "unticked in the window): nothing is recorded, undone or restored."},
        {60105, "Changed again since that write: %1 (it wrote %2, the file has %3)."},
        {60106, "Changed again since that write: %1 (the file no longer has it)."},
        {60107, "Nothing has been undone. Add --force to undo the write all the same."},
        {60108, "Left as it is: %1 is a request to the server or its clock, which an undo never sends."},
        {60109, "This writes %1 of %2 back as write %3 left it at %4."},
        {60110, "The file %1 has been written back as write %2 left it."},
        {60111, "Write %1 kept no bytes to write back."},
        {60112, "Could not read the history of changes!"},
        {60113, "--json goes with --dry-run: a write prints only messages."},
        {60120, "not written: %1"},

        // --- The command line's words for messages that speak of the windows ---
        {60040, "Are you sure you want to restart the server?"},
        {60041, "Are you sure you want to change the parameter values to factory default settings?\n\n"
                "Note: This restarts the server."},
        {60042, "Setting Restart to \"yes\" will cause the server to restart.\n\nAre you sure you want to continue?"},
        {60043, "Setting Factory Default to \"yes\" will cause the server to restart with its factory default "
                "settings.\n\nAre you sure you want to continue?"},
        {60044, "The software version in the server may not be fully supported by this program.\n\n"
                "Note: Parameters of type Unknown or UnknownCombo (see describe) may not be checked for validation, "
                "use with care!"},
        {60045, "Could not get necessary server files!"},
        {60046, "Illegal parameter value!"},

        // --- The rule a refused value broke, in words ---
        {60050, "Enter a whole number from %1 to %2, or *."},
        {60051, "Enter an internet address: four numbers from 0 to 255 joined by dots, such as 192.168.1.1."},
        {60052, "Enter * or an internet address: four numbers from 0 to 255 joined by dots, such as 192.168.1.1."},
        {60053, "The character %1 is not allowed here."},
        {60054, "The character %1 is not allowed here: use only %2"},
        {60055, "A value must not contain a line break."},
};

// Each text has an ID of its own: a table holding one ID twice does not build.
constexpr bool idsAreUnique() {
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        for (size_t j = i + 1; j < std::size(kEntries); ++j) {
            if (kEntries[i].first == kEntries[j].first) return false;
        }
    }
    return true;
}
static_assert(idsAreUnique(), "a string ID is used twice");

}  // namespace

std::string LoadString(int id) {
    static const std::unordered_map<int, std::string_view> table(std::begin(kEntries), std::end(kEntries));
    auto it = table.find(id);
    return it == table.end() ? std::string() : std::string(it->second);
}

std::string FormatString(int id, std::initializer_list<std::string_view> arguments) {
    const std::string pattern = LoadString(id);
    const std::vector<std::string_view> values(arguments);
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const size_t index = static_cast<size_t>(pattern[i + 1] - '1');
            if (index < values.size()) {
                text += values[index];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}
