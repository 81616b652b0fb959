#include <softphones/adapters.h>

// The adapters act on the windows that discovery finds; until discovery has
// found a softphone's window there is nothing for them to drive, so each one
// ignores the key.

namespace softphones {

void net2PhoneKey(int, bool) {}
void msnMessengerKey(int, bool) {}
void sjPhoneKey(int, bool) {}
void xLiteKey(int, bool, HWND) {}
void eyeBeamKey(int, bool, HWND) {}

} // namespace softphones
