// The control dialog and the COM server entry points.

#include "quorvex_session.h"

#include <objbase.h>
#include <oleauto.h>

using namespace wine_tests;

namespace {

// {4b2af4ef-0f21-4aa6-8a3a-5f0d925d49d6}: the library's type library.
const GUID kTypeLibId = {0x4b2af4ef, 0x0f21, 0x4aa6, {0x8a, 0x3a, 0x5f, 0x0d, 0x92, 0x5d, 0x49, 0xd6}};

template <typename F>
F entry(const char* name)
{
    HMODULE module = ::GetModuleHandleA("Quorvex.dll");
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

using HrVoid = HRESULT(WINAPI*)();
using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

bool waitHidden(HWND w, DWORD timeoutMs)
{
    const double deadline = nowMs() + timeoutMs;
    while (::IsWindowVisible(w)) {
        if (nowMs() >= deadline)
            return false;
        ::Sleep(2);
    }
    return true;
}

} // namespace

TEST(QuorvexWindow, ControlDialogStaysHiddenAndCannotBeClosedFromTheKeyboard)
{
    QuorvexSession s;
    s.waitKeysEnabled(s.plugIn());
    HWND control = QuorvexSession::controlWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(::IsWindowVisible(control));

    // Shown from outside, it is hidden again by its 100 ms timer.
    ::ShowWindow(control, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(control));
    const double shown = nowMs();
    ASSERT_TRUE(waitHidden(control, kWaitMs));
    std::printf("hidden again after %.1f ms\n", nowMs() - shown);

    // Enter and Escape, as commands and as keys, leave it running.
    ::SendMessageA(control, WM_COMMAND, IDOK, 0);
    ::SendMessageA(control, WM_COMMAND, IDCANCEL, 0);
    ::SendMessageA(control, WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageA(control, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(::IsWindow(control));
    s.sync(); // keys still flow
}

TEST(QuorvexWindow, DeviceChangeMessagesReachCmHid)
{
    QuorvexSession s;
    HWND control = QuorvexSession::controlWindow();
    ASSERT_NE(control, nullptr);
    const std::uint64_t from = s.handset().recordCount();
    ::SendMessageA(control, WM_DEVICECHANGE, 0x8000, 0);
    auto r = s.handset().waitRecord(from, [](const Record& rec) { return is(rec, RecordKind::DeviceChange); }, kWaitMs);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->record.a, 0x8000u);
}

TEST(QuorvexCom, ServerWithATypeLibraryAndNoClasses)
{
    auto canUnload = entry<HrVoid>("DllCanUnloadNow");
    auto getClass = entry<GetClassObject>("DllGetClassObject");
    auto reg = entry<HrVoid>("DllRegisterServer");
    auto unreg = entry<HrVoid>("DllUnregisterServer");
    ASSERT_TRUE(canUnload && getClass && reg && unreg);

    EXPECT_EQ(canUnload(), S_OK) << "nothing runs before InitCM108Control";
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClass(GUID_NULL, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);

    ASSERT_EQ(reg(), S_OK);
    ITypeLib* lib = nullptr;
    ASSERT_EQ(::LoadRegTypeLib(kTypeLibId, 1, 0, 0, &lib), S_OK);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid({0x68099339, 0x438b, 0x40ea, {0xa2, 0x49, 0x2e, 0x32, 0x8f, 0x6f, 0xea, 0xe2}},
                                     &info),
              S_OK);
    info->Release();
    lib->Release();

    EXPECT_EQ(unreg(), S_OK);
    lib = nullptr;
    EXPECT_NE(::LoadRegTypeLib(kTypeLibId, 1, 0, 0, &lib), S_OK);
    if (lib)
        lib->Release();

    QuorvexSession s;
    EXPECT_EQ(canUnload(), S_FALSE) << "its threads run now";
}
