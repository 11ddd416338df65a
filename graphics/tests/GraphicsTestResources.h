#pragma once
// Resource ids of the graphics tests' resource script.
#define IDB_SKIN_TEST 101
#define IDI_SKIN_TEST 201
