#include <softphones/window_state.h>

namespace softphones {

SoftphoneWindowState& windowState()
{
    static SoftphoneWindowState state;
    return state;
}

bool& windowToggle()
{
    static bool toggle = true;
    return toggle;
}

} // namespace softphones
