#pragma once
// The Updater's fixed resource numbers: strings only, no file path. The
// Updater hands these tables to the holder instead of the main program's.
#include "resources/appresources/ResourceIdTables.h"

namespace AppResources {
namespace Updater {

#define APPRESOURCES_UPDATER_STRING_IDS(X)                                                        \
    X(0, PreparingForDownload) X(1, ConnectingToDownloadServer) X(2, DownloadingComponents)        \
    X(3, InstallingComponents) X(4, InstallationComplete) X(5, InstallationFailed)                 \
    X(6, ComputerMustBeRestarted) X(7, ProductInstallation) X(8, LaunchProduct)                    \
    X(9, CancelInstallation) X(10, Error) X(11, Close)

#define APPRESOURCES_UPDATER_STRING_ENUMERATOR_(id, name) StringID_##name = id,

enum StringID { APPRESOURCES_UPDATER_STRING_IDS(APPRESOURCES_UPDATER_STRING_ENUMERATOR_) };

const ResourceIdTables& GetUpdaterResourceIds();

}  // namespace Updater
}  // namespace AppResources
