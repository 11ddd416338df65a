#pragma once
// The fixture language's texts of the download list's rows, menus and
// questions, in the form the language files hold them.
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
    R"(<String name="PopupReDownload" value="Download again"/>)"
    R"(<String name="PopupWatchDownloaded" value="Watch download"/>)"
    R"(<String name="PopupLocateDownloaded" value="Locate download"/>)"
    R"(<String name="PopupWatchConverted" value="Watch converted"/>)"
    R"(<String name="PopupLocateConverted" value="Locate converted"/>)"
    R"(<String name="PopupStop" value="Stop or continue"/>)"
    R"(<String name="PopupConvert" value="Convert now"/>)"
    R"(<String name="PopupCopyToIPod" value="Copy to player"/>)"
    R"(<String name="PopupRename" value="Rename"/>)"
    R"(<String name="PopupRemove" value="Remove"/>)"
    R"(<String name="PopupDelete" value="Delete files"/>)";

}  // namespace DownloadsTests
