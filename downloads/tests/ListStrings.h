#pragma once
// The fixture language's texts of the download list's rows, menus and
// questions, in the form the language files hold them.
#include "testing/ResourceFolder.h"

#include <string>

namespace DownloadsTests {

const char kListStrings[] =
    R"(<String name="StringID_AOfB" value="{0} of {1}"/>)"
    R"(<String name="StringID_Of" value=" of "/>)"
    R"(<String name="StringID_Bytes" value="Bytes"/>)"
    R"(<String name="StringID_Kilobytes" value="KB"/>)"
    R"(<String name="StringID_Megabytes" value="MB"/>)"
    R"(<String name="StringID_KilobytesPerSecond" value="KB/s"/>)"
    R"(<String name="StringID_Broadcast" value="Live"/>)"
    R"(<String name="StringID_FileInUseText" value="Some files are in use and were not deleted."/>)"
    R"(<String name="StringID_FileDeleteTitle" value="Delete File"/>)"
    R"(<String name="StringID_FileDeleteText" value="Delete the files of the selected videos?"/>)"
    R"(<String name="StringID_PopupReDownload" value="Download again"/>)"
    R"(<String name="StringID_PopupWatchDownloaded" value="Watch download"/>)"
    R"(<String name="StringID_PopupLocateDownloaded" value="Locate download"/>)"
    R"(<String name="StringID_PopupWatchConverted" value="Watch converted"/>)"
    R"(<String name="StringID_PopupLocateConverted" value="Locate converted"/>)"
    R"(<String name="StringID_PopupStop" value="Stop or continue"/>)"
    R"(<String name="StringID_PopupConvert" value="Convert now"/>)"
    R"(<String name="StringID_PopupCopyToIPod" value="Copy to player"/>)"
    R"(<String name="StringID_PopupRename" value="Rename"/>)"
    R"(<String name="StringID_PopupRemove" value="Remove"/>)"
    R"(<String name="StringID_PopupDelete" value="Delete files"/>)";

}  // namespace DownloadsTests
