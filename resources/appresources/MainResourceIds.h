#pragma once
// The main program's fixed resource numbers. Windows ask for their texts and
// files by these; the manager turns each into the registered name.
//
//   holder manager->GetString(AppResources::StringID_AlreadyRunningTitle);
#include "resources/appresources/ResourceIdTables.h"

namespace AppResources {

// (id, name) of every file path. Id 1 is a gap.
#define APPRESOURCES_MAIN_FILE_PATH_IDS(X) \
    X(0, LayoutXml)                         \
    X(2, TipOfTheDayXml)

// (id, name) of every string, ascending. The gaps (16-22, 34, 64, 126,
// 148-150) are numbers that were retired; they must not be reused. 152-159
// were never given out.
#define APPRESOURCES_MAIN_STRING_IDS(X)                                                                          \
    X(0, FatalError) X(1, EngineLoadFailure) X(2, ButtonOnOff) X(3, ButtonOnOffTooltip) X(4, ButtonAddURL)       \
    X(5, ButtonAddURLTooltip) X(6, ButtonConvert) X(7, ButtonConvertTooltip) X(8, ButtonRemove)                  \
    X(9, ButtonRemoveTooltip) X(10, ButtonBrowse) X(11, ButtonBrowseTooltip) X(12, ButtonSettings)               \
    X(13, ButtonSettingsTooltip) X(14, ButtonHelpSupport) X(15, ButtonHelpSupportTooltip) X(23, CompatNever)     \
    X(24, Compat60Min) X(25, Compat45Min) X(26, Compat30Min) X(27, CompatAlways) X(28, QualityLow)               \
    X(29, QualityMedium) X(30, QualityHigh) X(31, SelectVideoDownloadFolder) X(32, CloseWarningTitle)            \
    X(33, CloseWarningText) X(35, MinToTrayTitle) X(36, MinToTrayText) X(37, AOfB) X(38, Of) X(39, Bytes)        \
    X(40, Kilobytes) X(41, Megabytes) X(42, KilobytesPerSecond) X(43, Broadcast) X(44, AutoDownloadOnHeading)    \
    X(45, AutoDownloadOffHeading) X(46, AutoDownloadOnComment) X(47, AutoDownloadOffComment) X(48, TipOfTheDay)  \
    X(49, PreviousTipButton) X(50, NextTipButton) X(51, NoConverterTitle) X(52, NoConverterText)                 \
    X(53, VideoFileColumn) X(54, ProgressColumn) X(55, DownloadInfoColumn) X(56, AdditionalInfoColumn)           \
    X(57, CopyingToIPod) X(58, Download_) X(59, Import_) X(60, Conversion_) X(61, _Finished) X(62, _Interrupted) \
    X(63, _Error) X(65, SizeDetails) X(66, ExtrasInstallingOpenTitle) X(67, ExtrasInstallingOpenText)            \
    X(68, ExtrasCancel) X(69, ExtrasOk) X(70, FileNameInvalidTitle) X(71, FileNameInvalidText)                   \
    X(72, FileInUseText) X(73, FileDeleteTitle) X(74, FileDeleteText) X(75, AlreadyRunningTitle)                 \
    X(76, AlreadyRunningText) X(77, MisconfiguredTitle) X(78, MisconfiguredText) X(79, Warning)                  \
    X(80, FileExistsTitle) X(81, FileExistsText) X(82, URL) X(83, AddURLTitle) X(84, AddURLComment) X(85, OK)    \
    X(86, Cancel) X(87, ExtrasRequestTitle) X(88, ExtrasRequestHeading) X(89, ExtrasRequestWarning)              \
    X(90, ExtrasRequestQuestion) X(91, Yes) X(92, No) X(93, NoPellmarTitle) X(94, NoPellmarComment1)             \
    X(95, NoPellmarComment2) X(96, NoPellmarOK) X(97, SettingsTitle) X(98, SettingsCopyright)                    \
    X(99, SettingsDownloadFolder) X(100, SettingsDownloadFilter) X(101, SettingsSWF)                             \
    X(102, SettingsEnablePassive) X(103, SettingsSuggestPassive) X(104, SettingsAllowStealingVideoStreams)       \
    X(105, SettingsAutomaticConvertion) X(106, SettingsFormat) X(107, SettingsCompatibility)                      \
    X(108, SettingsCloseAction) X(109, SettingsNoSoundTimeout) X(110, SettingsSeconds) X(111, SettingsWarning)   \
    X(112, SettingsOnXMinimize) X(113, SettingsOnXHideInTray) X(114, SettingsOnXClose) X(115, SettingsLanguage)  \
    X(116, UpdateRequestTitle) X(117, UpdateRequestHeading) X(118, UpdateRequestNote)                           \
    X(119, UpdateRequestQuestion) X(120, TrayShowHide) X(121, TrayOnOff) X(122, TrayAddURL)                     \
    X(123, TraySettings) X(124, TrayBrowse) X(125, TrayHelpSupport)                                             \
    X(127, TrayExit) X(128, PopupReDownload) X(129, PopupWatchDownloaded) X(130, PopupLocateDownloaded)          \
    X(131, PopupWatchConverted) X(132, PopupLocateConverted) X(133, PopupStop) X(134, PopupConvert)              \
    X(135, PopupCopyToIPod) X(136, PopupDblClkToPlay) X(137, PopupDblClkToConvert) X(138, PopupDblClkReDownload) \
    X(139, PopupDownloadingTo) X(140, PopupConvertingTo) X(141, PopupRename) X(142, PopupRemove)                 \
    X(143, PopupDelete) X(144, InvalidStreamTrayTitle) X(145, InvalidStreamTrayText)                            \
    X(146, StolenVideoTrayTitle) X(147, StolenVideoTrayText) X(151, BundleIsNotInstalled)                      \
    X(160, VideosFolderTooLong) X(161, VideosFolderInvalidCharacters) X(162, VideosFolderNoDrive)             \
    X(163, VideosFolderNotCreated) X(164, VideosFolderNotWritable) X(165, VideosFolderAtStart)                \
    X(166, VideosFolderInSettings)

#define APPRESOURCES_FILE_PATH_ENUMERATOR_(id, name) FilePathID_##name = id,
#define APPRESOURCES_STRING_ENUMERATOR_(id, name) StringID_##name = id,

enum FilePathID { APPRESOURCES_MAIN_FILE_PATH_IDS(APPRESOURCES_FILE_PATH_ENUMERATOR_) };
enum StringID { APPRESOURCES_MAIN_STRING_IDS(APPRESOURCES_STRING_ENUMERATOR_) };

// Both tables above, for registration and verification.
const ResourceIdTables& GetMainProgramResourceIds();

}  // namespace AppResources
