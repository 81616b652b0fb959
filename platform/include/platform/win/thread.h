#pragma once
// Worker threads that run a callable. The handle is the caller's to keep or drop;
// dropping it does not stop the thread.

#include <platform/win/handles.h>

#include <functional>

namespace platform::win {

// priority: a THREAD_PRIORITY_* value. stackBytes 0 means the default size.
UniqueHandle startThread(std::function<void()> body, int priority = THREAD_PRIORITY_NORMAL,
                         unsigned stackBytes = 0);

} // namespace platform::win
