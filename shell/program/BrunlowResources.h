#pragma once
// Resource ids of the program's resource script (Brunlow.rc), shared by the
// code that loads them and by the test programs that compile the script too.
