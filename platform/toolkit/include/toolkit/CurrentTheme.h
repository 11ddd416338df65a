#pragma once
// The one theme through which all command bars draw. A program hands a
// theme made with new to SetCurrentTheme and forgets it: the toolkit owns
// it from then on. Every painting holds the theme it started with, so a
// theme replaced meanwhile (from any thread) is freed when the last
// painting that uses it ends.
#include "toolkit/QE978.h"

#include <memory>

namespace Toolkit {

// Null puts the standard theme (QE637) back.
void SetCurrentTheme(QE978* theme);
// Never null: the standard theme until a program set one.
std::shared_ptr<QE978> GetCurrentTheme();

}  // namespace Toolkit
