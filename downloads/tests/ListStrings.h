#pragma once
// The fixture language's texts of the download list's rows, menus and
// questions, in the form the language files hold them. Menu entries that
// also label a row's button carry an access key, as the shipped ones do.
#include "testing/ResourceFolder.h"

#include <string>

namespace DownloadsTests {

const char kListStrings[] =
    R"(<String name="AOfB" value="{0} of {1}"/>)"
    R"(<String name="Of" value=" of "/>)"
    R"(<String name="Bytes" value="Bytes"/>)"
    R"(<String name="Kilobytes" value="KB"/>)"
    R"(<String name="Megabytes" value="MB"/>)"
    R"(<String name="KilobytesPerSecond" value="KB/s"/>)"
    R"(<String name="Broadcast" value="Live"/>)"
    R"(<String name="FileInUseText" value="Some files are in use and were not deleted."/>)"
    R"(<String name="FileDeleteTitle" value="Delete File"/>)"
    R"(<String name="FileDeleteText" value="Delete the files of the selected videos?"/>)"
    R"(<String name="PopupReDownload" value="Download &amp;again"/>)"
    R"(<String name="PopupWatchDownloaded" value="Watch download"/>)"
    R"(<String name="PopupLocateDownloaded" value="Locate download"/>)"
    R"(<String name="PopupWatchConverted" value="Watch converted"/>)"
    R"(<String name="PopupLocateConverted" value="Locate converted"/>)"
    R"(<String name="PopupStop" value="&amp;Stop or continue"/>)"
    R"(<String name="PopupConvert" value="Convert &amp;now"/>)"
    R"(<String name="PopupCopyToIPod" value="Copy to &amp;player"/>)"
    R"(<String name="PopupRename" value="Rename"/>)"
    R"(<String name="PopupRemove" value="Remove"/>)"
    // The stolen-video question and its balloon.
    R"(<String name="StolenVideoTrayTitle" value="Video from another program"/>)"
    R"(<String name="StolenVideoTrayText" value="{ProductName} caught a video of another program."/>)"
    R"(<String name="StolenVideoMessage" value="{ProductName} caught it."/>)"
    R"(<String name="PopupDelete" value="Delete files"/>)"
    // Opening, renaming and the row tooltips.
    R"(<String name="ExtrasCancel" value="Play without"/>)"
    R"(<String name="ExtrasOk" value="Get {ProductName} Extras"/>)"
    R"(<String name="ExtrasInstallingOpenTitle" value="Extras"/>)"
    R"(<String name="ExtrasInstallingOpenText" value="The Extras are being installed. Play anyway?"/>)"
    R"(<String name="FileNameInvalidTitle" value="Rename"/>)"
    R"(<String name="FileNameInvalidText" value="That name cannot be used."/>)"
    R"(<String name="FileExistsTitle" value="File exists"/>)"
    R"(<String name="FileExistsText" value="A file of that name exists."/>)"
    R"(<String name="PopupDblClkToPlay" value="Double-click to play"/>)"
    R"(<String name="PopupDblClkToConvert" value="Double-click to convert"/>)"
    R"(<String name="PopupDblClkReDownload" value="Double-click to download again"/>)"
    R"(<String name="PopupDownloadingTo" value="Downloading to "/>)"
    R"(<String name="PopupConvertingTo" value="Converting to "/>)"
    // The tip panel of the empty list.
    R"(<String name="TipOfTheDay" value="Tip of the day"/>)"
    R"(<String name="PreviousTipButton" value="Back"/>)"
    R"(<String name="NextTipButton" value="More"/>)"
    R"(<String name="ReminderText" value="Shown "/>)"
    R"(<String name="OfText" value=" of "/>)"
    R"(<String name="UpgradeNowText" value="Read more"/>)"
    // Row states and the empty list.
    R"(<String name="CopyingToIPod" value="Copying to player"/>)"
    R"(<String name="Download_" value="Download"/>)"
    R"(<String name="Import_" value="Import"/>)"
    R"(<String name="Conversion_" value="Conversion"/>)"
    R"(<String name="_Finished" value=" finished"/>)"
    R"(<String name="_Interrupted" value=" interrupted"/>)"
    R"(<String name="_Error" value=" failed"/>)"
    R"(<String name="SizeDetails" value="Size: {0}"/>)"
    // A result's message by name.
    R"(<String name="PlayerFull" value="The player is full"/>)"
    R"(<String name="AutoDownloadOnHeading" value="Catching is on"/>)"
    R"(<String name="AutoDownloadOffHeading" value="Catching is off"/>)"
    R"(<String name="AutoDownloadOnComment" value="Play a video in {ProductName} and it appears here."/>)"
    R"(<String name="AutoDownloadOffComment" value="Switch {ProductName} on to catch videos."/>)";

}  // namespace DownloadsTests
