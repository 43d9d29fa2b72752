#pragma once
// ssize_t, off_t and mode_t, which the file layer's interface uses, on every compiler:
// MSVC's C runtime lacks the first and the last.
#include <sys/types.h>

#if defined(_MSC_VER)
#include <BaseTsd.h>
using ssize_t = SSIZE_T;
using mode_t = unsigned short;
#endif
