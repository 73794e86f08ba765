#pragma once

#include <string_view>

namespace pellora {

// The texts a recovery log shows. "Log (index of recovered files and folders)" is what the person
// knows the file as.
inline constexpr std::string_view kLogMagic = "ZYDWIN7SR2015";
// Ends the folder tree: the magic and the nine characters no file name may hold.
inline constexpr std::string_view kLogTreeEnd = "ZYDWIN7SR2015/:*?\"<>|";
inline constexpr std::string_view kRootRecordName = "Root_Item";
inline constexpr std::string_view kLogFileExtension = "DMC";

inline constexpr std::string_view kLogSaved =
    "The Recovery scanning Log (index of recovered files and folders) has been saved successfully.";
inline constexpr std::string_view kLogLoaded =
    "The Recovery scanning Log (index of recovered files and folders) has been loaded successfully.";
inline constexpr std::string_view kLogLoadedStatus =
    "\nSelect Files and Folders from left Panel Directories Tree or right Panel List and Click on 'Save Data' button "
    "to save recovered Files and Folders.";

inline constexpr std::string_view kSaveLogNothingScanned =
    "To save the Log (index of recovered files and folders) of recovery, first you need to scan the drive and "
    "recover the lost data.";
inline constexpr std::string_view kSaveLogWhileScanning =
    "Disk scanning process is still going on.\n\nTo save the Log (index of recovered files and folders) of recovery, "
    "please allow the scanning process to be completed.";
inline constexpr std::string_view kSaveLogOnExitQuestion =
    "Do you want to save the Recovery scanning Log (index of recovered files and folders) file?\n\nIf you have "
    "previously saved Log file of Orvane, you can directly load the recovery results from Log instead of scanning the "
    "drive again.";
inline constexpr std::string_view kLoadLogWhileScanning =
    "Disk scanning process is still going on.\n\nIf you have previously saved Log (index of recovered files and "
    "folders) file of Orvane and want to load the recovery results from Log instead of scanning the drive, you can "
    "cancel the scanning by clicking on \u2018Stop\u2019 button.";
inline constexpr std::string_view kLoadLogAfterScan =
    "Recovery log cannot be loaded at this stage.\n\nIf you have previously saved Log (index of recovered files and "
    "folders) file of Orvane and want to load the recovery results from Log instead , click on \u2018Back\u2019 button "
    "and load Log from previous screen.";

// A file that is no log of this program (its magic is another).
inline constexpr std::string_view kLogWrongMagic =
    "The selected recovery Log (index of recovered files and folders) file is invalid or corrupted. Recovery cannot "
    "continue with this log file. Please select the correct drive from tree and continue with recovery.";
// A log that ends early or holds a malformed value; shown after the failure's own text. Also what
// start-up shows for a log named on the command line with a wrong magic or mode.
inline constexpr std::string_view kLogCorrupted =
    "The selected recovery Log (index of recovered files and folders) file is invalid or corrupted. Recovery cannot "
    "continue with this log file.\n\nPlease browse the valid Log file or Scan the disk again.";
inline constexpr std::string_view kLogMediaMoved =
    "Original Media has been moved or removed.\n\nThe drive from which selected recovery Log (index of recovered "
    "files and folders) file was saved, seems to be moved or disconnected. Recovery for selected drive cannot "
    "continue with this log file. Please select the correct drive from tree and continue with recovery.";
inline constexpr std::string_view kSwitchToDeepQuestion =
    "The Log that you have selected was saved in deep Recovery mode. Do you want to switch to Deep mode of Orvane?";
inline constexpr std::string_view kSwitchToBasicQuestion =
    "The Log that you have selected was saved in basic Recovery mode. Do you want to switch to Basic mode of Orvane?";

inline constexpr std::string_view kAssociationFailed =
    "Could not create or open a registry key for log file association.";

}  // namespace pellora
