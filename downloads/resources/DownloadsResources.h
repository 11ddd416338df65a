#pragma once
// Resource ids the download list loads from the program's resources (its
// script, Downloads.rc, is part of the program's).

// Row images (the list's 48 x 48 image list).
#define IDI_ROW_VIDEO 150
#define IDI_ROW_MEDIA 151
#define IDI_ROW_OTHER 152
#define IDI_ROW_COMPLETE 158
