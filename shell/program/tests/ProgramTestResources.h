#pragma once
// Resource ids of the program tests' own script.
#define IDD_TEST_DIALOG 9001
