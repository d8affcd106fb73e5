#pragma once

// Names of the string-table messages that more than one part of the program
// shows.
namespace StringId {
inline constexpr int NothingChanged = 124;
inline constexpr int SubmittedRestartNeeded = 125;
inline constexpr int Unsuccessful = 126;
inline constexpr int ConfirmRestart = 128;
inline constexpr int ConfirmFactoryDefaults = 129;
inline constexpr int ServerRestarting = 131;
inline constexpr int Submitted = 136;
inline constexpr int NoCommunication = 1007;
inline constexpr int NoDrives = 1015;
inline constexpr int NoVolumeRightsFiles = 1016;
inline constexpr int ServerNameTooLong = 1020;
inline constexpr int IllegalValue = 1022;
inline constexpr int EmptyFile = 60060;
inline constexpr int UnreadableVolume = 60061;
}  // namespace StringId
