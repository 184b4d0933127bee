#pragma once
// windows.h for this backend, without the function-name macros that would rename the
// platform interface's own methods of the same names.

#include <windows.h>

#undef VkKeyScan
#undef MapVirtualKey
