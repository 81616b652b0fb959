#pragma once
// What the stand-in answers: the client-facing part of the Skype desktop API
// that telvane uses, as text in and lines out. No windows here.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skype_standin {

struct ModelOptions {
    bool echoDtmf = true;
    bool echoButtons = true;
    bool blankEmptyCalls = true;  // "CALLS " rather than "CALLS"
    bool duplicateStatus = false; // every status line twice, as the client often did
};

class ApiModel {
public:
    ModelOptions options;

    // The lines one command draws, in sending order (the reply first).
    std::vector<std::string> command(std::string_view line);

    // Scripted events. Empty when refused (a known call again, an unknown call).
    std::optional<std::vector<std::string>> newCall(const std::string& id, const std::string& type,
                                                    const std::string& status);
    std::optional<std::vector<std::string>> changeStatus(const std::string& id, const std::string& status);
    std::vector<std::string> setUserStatus(const std::string& status);
    std::vector<std::string> setHandle(const std::string& handle);

private:
    struct Call {
        std::string id;
        std::string type;
        std::string status;
    };

    Call* find(const std::string& id);
    std::vector<std::string> statusLines(const Call& call) const;

    std::vector<std::string> hook(bool offHook);
    std::vector<std::string> get(const std::vector<std::string>& words);
    std::vector<std::string> set(const std::vector<std::string>& words, std::string_view line);
    std::vector<std::string> setCall(const std::vector<std::string>& words);
    std::string activeCalls() const;

    std::vector<Call> calls_; // in the order they began
    std::string userStatus_ = "ONLINE";
    std::string handle_ = "telvane.tester";
    std::string audioIn_;
    std::string audioOut_;
};

} // namespace skype_standin
