#include <platform/win/thread.h>

#include <memory>
#include <process.h>

namespace platform::win {

namespace {

unsigned __stdcall threadEntry(void* param)
{
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
    try {
        (*body)();
    } catch (...) {
        // A worker never takes the process down with it.
    }
    return 0;
}

} // namespace

UniqueHandle startThread(std::function<void()> body, int priority, unsigned stackBytes)
{
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    const uintptr_t h = ::_beginthreadex(nullptr, stackBytes, threadEntry, owned.get(),
                                         CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (h == 0)
        return {};
    owned.release(); // the thread owns it now
    UniqueHandle thread(reinterpret_cast<HANDLE>(h));
    ::SetThreadPriority(thread.get(), priority);
    ::ResumeThread(thread.get());
    return thread;
}

} // namespace platform::win
