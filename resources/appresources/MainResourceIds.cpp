#include "resources/appresources/MainResourceIds.h"

namespace AppResources {

namespace {

#define APPRESOURCES_TABLE_ENTRY_(id, name) {id, L"" #name},

const ResourceIdEntry kFilePaths[] = {APPRESOURCES_MAIN_FILE_PATH_IDS(APPRESOURCES_TABLE_ENTRY_)};
const ResourceIdEntry kStrings[] = {APPRESOURCES_MAIN_STRING_IDS(APPRESOURCES_TABLE_ENTRY_)};

}  // namespace

const ResourceIdTables& GetMainProgramResourceIds() {
    static const ResourceIdTables tables = {kFilePaths, sizeof(kFilePaths) / sizeof(kFilePaths[0]), kStrings,
                                            sizeof(kStrings) / sizeof(kStrings[0])};
    return tables;
}

}  // namespace AppResources
