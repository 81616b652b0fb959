#pragma once
// The stand-in's API window: answers discover broadcasts with attach replies,
// takes command lines from the attached window only, answers them through the
// model, and carries out the script lines that arrive through the channel.

#include "api_model.h"
#include "standin_channel.h"

#include <windows.h>

#include <string>
#include <vector>

namespace skype_standin {

class StandinWindow {
public:
    explicit StandinWindow(Channel& channel) : channel_(channel) {}
    StandinWindow(const StandinWindow&) = delete;
    StandinWindow& operator=(const StandinWindow&) = delete;

    bool create(HINSTANCE instance);
    HWND hwnd() const { return window_; }

    // Until WM_QUIT; script lines are carried out between messages.
    int run();

private:
    enum class AttachMode { Success, Pending, Refused, NotAvailable, AvailableFirst };

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCopyData(HWND from, const COPYDATASTRUCT* cds);
    void onDiscover(HWND client, bool sent);

    void executeQueued();
    bool execute(const std::string& line, DWORD& hangMs);
    bool notifyClient(const std::vector<std::string>& lines);

    void answer(std::vector<std::string> lines);
    void flushPending();
    void sendLine(const std::string& text, std::uint32_t flagBits);
    void sendAttach(HWND to, LPARAM status, HWND apiWindow);
    void broadcastAvailable();

    void record(RecordKind kind, HWND window, std::uint64_t value, std::int64_t result, std::uint32_t flagBits,
                const void* text = nullptr, std::uint32_t size = 0);

    Channel& channel_;
    HWND window_ = nullptr;
    UINT attachMessage_ = 0;
    UINT discoverMessage_ = 0;

    ApiModel model_;
    AttachMode attachMode_ = AttachMode::Success;
    bool nested_ = true;
    bool silent_ = false;
    HWND attached_ = nullptr;
    HWND lastDiscoverer_ = nullptr;
    std::vector<std::string> pending_; // answers waiting for the client's send to return
};

} // namespace skype_standin
