#pragma once
// Resource ids of the shell tests' resource script.
#define IDR_TEST_TOOLBAR 9128
#define ID_ON 1038
#define ID_OFF 1039
#define ID_ADD_URL 1029
#define ID_CONVERT 1031
