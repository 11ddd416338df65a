#pragma once
// Resources of the download list's test program (beside the list's own).
#define IDR_VIEWTESTFRAME 700
