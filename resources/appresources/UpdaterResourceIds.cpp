#include "resources/appresources/UpdaterResourceIds.h"

namespace AppResources {
namespace Updater {

namespace {

#define APPRESOURCES_UPDATER_TABLE_ENTRY_(id, name) {id, L"" #name},

const ResourceIdEntry kStrings[] = {APPRESOURCES_UPDATER_STRING_IDS(APPRESOURCES_UPDATER_TABLE_ENTRY_)};

}  // namespace

const ResourceIdTables& GetUpdaterResourceIds() {
    static const ResourceIdTables tables = {nullptr, 0, kStrings, sizeof(kStrings) / sizeof(kStrings[0])};
    return tables;
}

}  // namespace Updater
}  // namespace AppResources
