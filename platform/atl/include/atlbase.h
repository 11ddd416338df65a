#pragma once
// ATL's base header: exceptions, COM client helpers, geometry and the exe module.
#include "atlcomcli.h"
#include "atlexcept.h"
#include "atlexemodule.h"
#include "atltypes.h"
