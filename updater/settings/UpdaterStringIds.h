#pragma once
// The Updater's own string-table entries: the product's defaults that its
// command line may override. Plain defines, so resource scripts include it.
#define IDS_UPDATER_PRODUCT_NAME 129
#define IDS_UPDATER_PRODUCT_COMPANY_NAME 130
#define IDS_UPDATER_PRODUCT_EXECUTABLE 131
#define IDS_UPDATER_PRODUCT_URL 132
#define IDS_UPDATER_DOWNLOAD_URL 134
#define IDS_UPDATER_BUNDLE_NAME 136
