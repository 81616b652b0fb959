#include "softphone_index.h"

namespace app {

namespace {

constexpr std::string_view kNames[kSoftphoneCount] = {
    "Skype", "Net2Phone", "MSN Messenger", "SJ Phone", "X-Lite", "eyeBeam",
};

// Not the poller's texts: these spell "SJPhone" and "EyeBeam".
constexpr std::string_view kSearching[kSoftphoneCount] = {
    "Searching For Skype",  "Searching For Net2Phone", "Searching For MSN Messenger",
    "Searching For SJPhone", "Searching For X-Lite",   "Searching For EyeBeam",
};

constexpr std::string_view kSkypeAttached = "Using Skype now";

} // namespace

std::string_view softphoneName(SoftphoneIndex index)
{
    return isSoftphone(index) ? kNames[index] : std::string_view{};
}

std::string_view menuStatusText(SoftphoneIndex index, bool skypeAttached)
{
    if (index == kSkype && skypeAttached)
        return kSkypeAttached;
    return comboStatusText(index);
}

std::string_view comboStatusText(SoftphoneIndex index)
{
    return isSoftphone(index) ? kSearching[index] : std::string_view{};
}

} // namespace app
