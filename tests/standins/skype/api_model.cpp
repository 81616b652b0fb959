#include "api_model.h"

#include <algorithm>
#include <cctype>

namespace skype_standin {

namespace {

std::vector<std::string> splitWords(std::string_view line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const size_t begin = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > begin)
            words.emplace_back(line.substr(begin, i - begin));
    }
    return words;
}

// Keywords are taken in any case; the client's own lines are upper case.
std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// What follows the first n words and the blanks after them, inner blanks kept.
std::string restAfter(std::string_view line, size_t n)
{
    size_t i = 0;
    for (size_t w = 0; w < n; ++w) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        while (i < line.size() && line[i] != ' ')
            ++i;
    }
    while (i < line.size() && line[i] == ' ')
        ++i;
    return std::string(line.substr(i));
}

bool isCallId(const std::string& id)
{
    const auto digit = [](unsigned char c) { return std::isdigit(c) != 0; };
    return !id.empty() && id.size() < 10 && std::all_of(id.begin(), id.end(), digit) &&
           id != std::string(id.size(), '0');
}

bool isFinal(const std::string& status)
{
    static const char* const kFinal[] = {"UNPLACED", "FINISHED", "MISSED",  "REFUSED",      "BUSY",
                                         "CANCELLED", "FAILED",  "VM_SENT", "VM_CANCELLED", "VM_FAILED"};
    return std::any_of(std::begin(kFinal), std::end(kFinal), [&](const char* s) { return status == s; });
}

bool isButton(const std::string& key)
{
    static const char* const kNamed[] = {"UP", "DOWN", "YES", "NO", "SKYPE", "PAGEUP", "PAGEDOWN"};
    if (key.size() == 1)
        return std::isalnum(static_cast<unsigned char>(key[0])) || key == "#" || key == "*" || key == "+";
    return std::any_of(std::begin(kNamed), std::end(kNamed), [&](const char* s) { return key == s; });
}

bool isUserStatus(const std::string& status)
{
    static const char* const kStatuses[] = {"UNKNOWN", "ONLINE", "OFFLINE",   "SKYPEME",  "AWAY",
                                            "NA",      "DND",    "INVISIBLE", "LOGGEDOUT"};
    return std::any_of(std::begin(kStatuses), std::end(kStatuses), [&](const char* s) { return status == s; });
}

bool isOpenTarget(const std::string& what)
{
    static const char* const kTargets[] = {
        "ADDAFRIEND", "IM",         "CHAT",         "FILETRANSFER",   "LIVETAB",        "VIDEOTEST",    "VOICEMAIL",
        "PROFILE",    "USERINFO",   "CONFERENCE",   "SEARCH",         "OPTIONS",        "CALLHISTORY",  "CONTACTS",
        "DIALPAD",    "SENDCONTACTS", "BLOCKEDUSERS", "IMPORTCONTACTS", "GETTINGSTARTED", "AUTHORIZATION"};
    return std::any_of(std::begin(kTargets), std::end(kTargets), [&](const char* s) { return what == s; });
}

std::vector<std::string> one(std::string line) { return {std::move(line)}; }

} // namespace

ApiModel::Call* ApiModel::find(const std::string& id)
{
    auto it = std::find_if(calls_.begin(), calls_.end(), [&](const Call& c) { return c.id == id; });
    return it == calls_.end() ? nullptr : &*it;
}

std::vector<std::string> ApiModel::statusLines(const Call& call) const
{
    const std::string line = "CALL " + call.id + " STATUS " + call.status;
    if (options.duplicateStatus)
        return {line, line};
    return {line};
}

std::string ApiModel::activeCalls() const
{
    std::string ids;
    for (const auto& call : calls_) {
        if (isFinal(call.status))
            continue;
        if (!ids.empty())
            ids += ", ";
        ids += call.id;
    }
    if (ids.empty())
        return options.blankEmptyCalls ? "CALLS " : "CALLS";
    return "CALLS " + ids;
}

std::vector<std::string> ApiModel::command(std::string_view line)
{
    std::string prefix;
    std::string_view body = line;
    {
        const auto first = splitWords(line);
        if (!first.empty() && first[0][0] == '#') {
            prefix = first[0] + " ";
            const auto at = line.find(first[0]);
            body = line.substr(at + first[0].size());
        }
    }
    const auto words = splitWords(body);
    std::vector<std::string> out;
    if (words.empty()) {
        out = one("ERROR 1 General syntax error");
    } else {
        const std::string verb = upper(words[0]);
        if (verb == "PING") {
            out = one("PONG");
        } else if (verb == "PROTOCOL") {
            const std::string n = words.size() > 1 ? words[1] : "";
            if (isCallId(n))
                out = one("PROTOCOL " + std::to_string(std::min(std::stoi(n), 8)));
            else
                out = one("ERROR 27 Invalid version number");
        } else if (verb == "GET") {
            out = get(words);
        } else if (verb == "SET") {
            out = set(words, body);
        } else if (verb == "SEARCH") {
            if (words.size() == 2 && upper(words[1]) == "ACTIVECALLS")
                out = one(activeCalls());
            else
                out = one("ERROR 3 Search: unknown WHAT");
        } else if (verb == "BTN_PRESSED" || verb == "BTN_RELEASED") {
            const std::string key = words.size() == 2 ? upper(words[1]) : "";
            if (!isButton(key))
                out = one("ERROR 74 Invalid key");
            else if (options.echoButtons)
                out = one(verb + " " + key);
        } else if (verb == "HOOK") {
            const std::string how = words.size() == 2 ? upper(words[1]) : "";
            if (how == "ON" || how == "OFF") {
                out = one("HOOK " + how);
                const auto changes = hook(how == "OFF");
                out.insert(out.end(), changes.begin(), changes.end());
            } else {
                out = one("ERROR 52 invalid parameter");
            }
        } else if (verb == "FOCUS" || verb == "MINIMIZE") {
            out = one(verb);
        } else if (verb == "OPEN") {
            const std::string what = words.size() > 1 ? upper(words[1]) : "";
            if (isOpenTarget(what))
                out = one("OPEN " + what + (words.size() > 2 ? " " + restAfter(body, 2) : ""));
            else
                out = one("ERROR 69 Invalid open what");
        } else {
            out = one("ERROR 2 Unknown command");
        }
    }
    if (!prefix.empty() && !out.empty())
        out[0] = prefix + out[0];
    return out;
}

// The phone's hook, as a handset drives it: off the hook answers a ringing
// incoming call; on the hook ends every call, refusing one still ringing.
std::vector<std::string> ApiModel::hook(bool offHook)
{
    std::vector<std::string> lines;
    for (auto& call : calls_) {
        if (isFinal(call.status))
            continue;
        const bool ringingIncoming = call.status == "RINGING" && call.type.rfind("INCOMING", 0) == 0;
        std::string next;
        if (offHook && ringingIncoming)
            next = "INPROGRESS";
        else if (!offHook)
            next = ringingIncoming ? "REFUSED" : "FINISHED";
        if (next.empty())
            continue;
        call.status = next;
        const auto status = statusLines(call);
        lines.insert(lines.end(), status.begin(), status.end());
        if (offHook)
            break; // one call is picked up
    }
    return lines;
}

std::vector<std::string> ApiModel::get(const std::vector<std::string>& words)
{
    const std::string what = words.size() > 1 ? upper(words[1]) : "";
    if (what == "CALL") {
        const std::string id = words.size() > 2 ? words[2] : "";
        if (!isCallId(id))
            return one("ERROR 11 Invalid call id");
        const Call* call = find(id);
        if (!call)
            return one("ERROR 12 Unknown call");
        const std::string property = words.size() == 4 ? upper(words[3]) : "";
        if (property == "TYPE")
            return one("CALL " + id + " TYPE " + call->type);
        if (property == "STATUS")
            return one("CALL " + id + " STATUS " + call->status);
        return one("ERROR 13 Invalid PROP");
    }
    if (words.size() == 2) {
        if (what == "USERSTATUS")
            return one("USERSTATUS " + userStatus_);
        if (what == "CURRENTUSERHANDLE")
            return one("CURRENTUSERHANDLE " + handle_);
        if (what == "AUDIO_IN")
            return one("AUDIO_IN " + audioIn_);
        if (what == "AUDIO_OUT")
            return one("AUDIO_OUT " + audioOut_);
    }
    return one("ERROR 7 GET: invalid WHAT");
}

std::vector<std::string> ApiModel::set(const std::vector<std::string>& words, std::string_view line)
{
    const std::string what = words.size() > 1 ? upper(words[1]) : "";
    if (what == "CALL")
        return setCall(words);
    if (what == "AUDIO_IN" || what == "AUDIO_OUT") {
        // The device name is the rest of the line, blanks and all; empty means the default device.
        std::string& device = what == "AUDIO_IN" ? audioIn_ : audioOut_;
        device = restAfter(line, 2);
        return one(what + " " + device);
    }
    if (what == "USERSTATUS") {
        const std::string status = words.size() == 3 ? upper(words[2]) : "";
        if (!isUserStatus(status))
            return one("ERROR 28 Unknown userstatus");
        userStatus_ = status;
        return {"USERSTATUS " + status, "USERSTATUS " + status};
    }
    return one("ERROR 18 SET: invalid WHAT");
}

std::vector<std::string> ApiModel::setCall(const std::vector<std::string>& words)
{
    const std::string id = words.size() > 2 ? words[2] : "";
    if (!isCallId(id))
        return one("ERROR 19 Invalid call id");
    Call* call = find(id);
    if (!call)
        return one("ERROR 20 Unknown call");
    const std::string property = words.size() == 5 ? upper(words[3]) : "";
    const std::string value = words.size() == 5 ? words[4] : "";
    if (property == "DTMF") {
        if (value.size() != 1 || std::string("0123456789#*").find(value[0]) == std::string::npos)
            return one("ERROR 42 Invalid DTMF code");
        if (call->status != "INPROGRESS")
            return one("ERROR 41 Call not active");
        if (options.echoDtmf)
            return one("SET CALL " + id + " DTMF " + value);
        return {};
    }
    if (property == "STATUS") {
        const std::string target = upper(value);
        if (target == "INPROGRESS") {
            if (isFinal(call->status))
                return one("ERROR 23 Cannot resume this call at the moment");
        } else if (target == "FINISHED") {
            if (isFinal(call->status))
                return one("ERROR 24 Cannot hangup inactive call");
        } else {
            return one("ERROR 21 Unknown/disallowed call prop");
        }
        call->status = target;
        return statusLines(*call);
    }
    return one("ERROR 21 Unknown/disallowed call prop");
}

std::optional<std::vector<std::string>> ApiModel::newCall(const std::string& id, const std::string& type,
                                                          const std::string& status)
{
    if (!isCallId(id) || find(id))
        return std::nullopt;
    calls_.push_back(Call{id, type, status});
    return statusLines(calls_.back());
}

std::optional<std::vector<std::string>> ApiModel::changeStatus(const std::string& id, const std::string& status)
{
    Call* call = find(id);
    if (!call || status.empty())
        return std::nullopt;
    call->status = status;
    return statusLines(*call);
}

std::vector<std::string> ApiModel::setUserStatus(const std::string& status)
{
    userStatus_ = status;
    return one("USERSTATUS " + status);
}

std::vector<std::string> ApiModel::setHandle(const std::string& handle)
{
    handle_ = handle;
    return one("CURRENTUSERHANDLE " + handle);
}

} // namespace skype_standin
