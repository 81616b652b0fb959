#include "tray_menu.h"

#include <resource.h>

namespace app {

namespace {

constexpr unsigned kCommands[kTrayPopupCount][kTrayPopupCommandCount] = {
    {IDM_TRAY0_SKYPE, IDM_TRAY0_NET2PHONE, IDM_TRAY0_MSN, IDM_TRAY0_SJPHONE, IDM_TRAY0_XLITE, IDM_TRAY0_EYEBEAM,
     IDM_TRAY0_CLOSE},
    {IDM_TRAY1_SKYPE, IDM_TRAY1_NET2PHONE, IDM_TRAY1_MSN, IDM_TRAY1_SJPHONE, IDM_TRAY1_XLITE, IDM_TRAY1_EYEBEAM,
     IDM_TRAY1_CLOSE},
    {IDM_TRAY2_SKYPE, IDM_TRAY2_NET2PHONE, IDM_TRAY2_MSN, IDM_TRAY2_SJPHONE, IDM_TRAY2_XLITE, IDM_TRAY2_EYEBEAM,
     IDM_TRAY2_CLOSE},
    {IDM_TRAY3_SKYPE, IDM_TRAY3_NET2PHONE, IDM_TRAY3_MSN, IDM_TRAY3_SJPHONE, IDM_TRAY3_XLITE, IDM_TRAY3_EYEBEAM,
     IDM_TRAY3_CLOSE},
    {IDM_TRAY4_SKYPE, IDM_TRAY4_NET2PHONE, IDM_TRAY4_MSN, IDM_TRAY4_SJPHONE, IDM_TRAY4_XLITE, IDM_TRAY4_EYEBEAM,
     IDM_TRAY4_CLOSE},
    {IDM_TRAY5_SKYPE, IDM_TRAY5_NET2PHONE, IDM_TRAY5_MSN, IDM_TRAY5_SJPHONE, IDM_TRAY5_XLITE, IDM_TRAY5_EYEBEAM,
     IDM_TRAY5_CLOSE},
};

constexpr int kCloseItem = kSoftphoneCount;

// Which item of its popup a command is, or -1.
int itemOf(unsigned command)
{
    for (const auto& popup : kCommands)
        for (int item = 0; item < kTrayPopupCommandCount; ++item)
            if (popup[item] == command)
                return item;
    return -1;
}

} // namespace

unsigned trayMenuCommand(int popup, int item)
{
    if (popup < 0 || popup >= kTrayPopupCount || item < 0 || item >= kTrayPopupCommandCount)
        return 0;
    return kCommands[popup][item];
}

std::optional<SoftphoneIndex> softphoneForCommand(unsigned command)
{
    const int item = itemOf(command);
    if (item < 0 || item == kCloseItem)
        return std::nullopt;
    return item;
}

bool isCloseCommand(unsigned command)
{
    return itemOf(command) == kCloseItem;
}

} // namespace app
