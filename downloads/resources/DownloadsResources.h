#pragma once
// Resource ids the download list loads from the program's resources (its
// script, Downloads.rc, is part of the program's).
