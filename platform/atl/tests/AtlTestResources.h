#pragma once
// Resource ids of the ATL tests' resource script.
#define IDS_ATL_TEST_TEXT 101
#define IDS_ATL_TEST_FORMAT 102
