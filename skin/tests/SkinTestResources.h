#pragma once
// Resource ids of the skin tests' resource script.
#define IDD_SURFACE_TEST 301
#define IDD_AUTOSURFACE_POPUP 302
#define IDD_AUTOSURFACE_SIZING 303
