// skype_standin.exe [--channel NAME]: behaves as the Skype client's desktop API
// does for telvane, scripted through the channel NAME.

#include "standin_channel.h"
#include "standin_window.h"

#include <windows.h>

#include <sstream>
#include <string>

namespace {

std::string channelName(const char* commandLine)
{
    std::istringstream in(commandLine ? commandLine : "");
    std::string word;
    while (in >> word) {
        if (word == "--channel" && in >> word)
            return word;
    }
    return skype_standin::kDefaultChannel;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    try {
        auto channel = skype_standin::Channel::open(channelName(commandLine));
        if (!channel)
            return 2;
        skype_standin::StandinWindow window(*channel);
        if (!window.create(instance))
            return 3;
        channel->locked([&](skype_standin::SharedBlock& b) {
            b.apiWindow = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window.hwnd()));
            b.processId = ::GetCurrentProcessId();
            return 0;
        });
        ::SetEvent(channel->readyEvent());
        return window.run();
    } catch (...) {
        return 4;
    }
}
