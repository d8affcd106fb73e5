#pragma once

// The files and folders of a server's share, as the server names them. Join
// them to the share with SharePath.
namespace ServerFile {
inline constexpr const char* Configuration = "\\Config\\Config.ini";
inline constexpr const char* ScsiDrives = "\\Config\\scsi.ini";
inline constexpr const char* ScsiText = "\\Config\\Scsi.txt";
inline constexpr const char* Statistics = "\\Config\\Stat.txt";
inline constexpr const char* EventLog = "\\Config\\Logfile.txt";
inline constexpr const char* Volumes = "\\Volumes";
inline constexpr const char* DiscFolder = "\\Cd";
}  // namespace ServerFile
