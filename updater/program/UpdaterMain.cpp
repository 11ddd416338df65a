// The Updater program: its application object, started by the library's entry point.
#include "updater/app/UpdaterApp.h"

CUpdaterApp theApp;
