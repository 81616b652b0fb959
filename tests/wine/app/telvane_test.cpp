// The program as a whole under Wine, with the simulated handset: start-up and
// single instance, selection and persistence, the tray, the ring messages,
// key routing's pre-step and the endings.

#include "telvane_fixture.h"

#include <platform/win/handles.h>

#include <functional>

using namespace wine_tests;

namespace {

using TelvaneTest = TelvaneFixture;

} // namespace

TEST_F(TelvaneTest, StartsWithItsCaptionMarkerAndStatus)
{
    deleteStoredSelection();
    auto p = start();
    wchar_t caption[128] = {};
    ::GetWindowTextW(p->mainWindow(), caption, 128);
    EXPECT_EQ(std::wstring(caption), kTelvaneCaption);
    EXPECT_EQ(p->statusText(), L"Searching For Skype");
    EXPECT_EQ(p->controlText(1007), L"Torvel_Skype_Phone_ZZ_VV");
    EXPECT_FALSE(::IsWindowVisible(p->control(1007)));
    EXPECT_TRUE(p->visible());

    // The template's hidden buttons keep their texts whatever the ANSI code page.
    EXPECT_EQ(::GetACP(), 1252u);
    EXPECT_EQ(p->controlText(1), L"\x78ba\x5b9a");
    EXPECT_EQ(p->controlText(2), L"\x53d6\x6d88");
    // The system menu item's text, as the program loads it.
    HMODULE image = ::LoadLibraryExW(L"telvane.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    wchar_t about[64] = {};
    ::LoadStringW(image, 101, about, 64);
    EXPECT_EQ(std::wstring(about), L"\x95dc\x65bc telvane(&A)...");
    ::FreeLibrary(image);

    // First start without a stored value: Skype, and the value created as 0.
    DWORD value = 99, type = 0;
    ASSERT_TRUE(storedSelection(&value, &type));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(p->comboSelection(), 0);
}

TEST_F(TelvaneTest, ASecondCopyEndsAtOnceAndTheFirstRunsOn)
{
    auto first = start();
    const std::uint64_t from = handset().recordCount();
    const double started = nowMs();
    auto second = TelvaneProcess::launch(false);
    DWORD code = 0;
    ASSERT_TRUE(second->waitExit(kWaitMs, &code));
    const double took = nowMs() - started;
    std::printf("second copy ended after %.0f ms\n", took);
    EXPECT_LT(took, 2000.0);
    EXPECT_EQ(code, static_cast<DWORD>(IDOK));
    // It never started the handset library.
    for (const auto& r : handset().records(from))
        EXPECT_NE(r.record.kind, static_cast<std::uint32_t>(RecordKind::StartDetection));
    EXPECT_TRUE(first->running());
    EXPECT_EQ(first->statusText(), L"Searching For Skype");
}

TEST_F(TelvaneTest, ACrashedCopyDoesNotKeepTheNextFromStarting)
{
    auto crashed = start();
    crashed->kill(); // its instance lock is abandoned
    auto next = start();
    EXPECT_TRUE(next->running());
    EXPECT_EQ(next->statusText(), L"Searching For Skype");
}

TEST_F(TelvaneTest, StoredSelectionIsRestored)
{
    storeSelection(3);
    auto p = start();
    EXPECT_EQ(p->comboSelection(), 3);
    EXPECT_EQ(p->controlText(1012), L"SJ Phone");
    EXPECT_EQ(p->statusText(), L"Searching For Skype") << "the poller replaces it on its first pass";
    DWORD value = 0;
    ASSERT_TRUE(storedSelection(&value));
    EXPECT_EQ(value, 3u);

    // An out-of-range value starts with Skype in effect, nothing selected, the value kept.
    p->command(32775);
    ASSERT_TRUE(p->waitExit(kWaitMs));
    storeSelection(0xFFFFFFFF);
    auto q = start();
    EXPECT_EQ(q->comboSelection(), -1);
    ASSERT_TRUE(storedSelection(&value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

namespace {

HWND waitPopupMenu(bool open, DWORD timeoutMs)
{
    const double deadline = nowMs() + timeoutMs;
    for (;;) {
        HWND menu = ::FindWindowA("#32768", nullptr);
        const bool shown = menu && ::IsWindowVisible(menu);
        if (shown == open)
            return menu;
        if (nowMs() >= deadline)
            return nullptr;
        ::Sleep(5);
    }
}

} // namespace

TEST_F(TelvaneTest, TrayPopupChoosesTheSoftphone)
{
    storeSelection(3);
    auto p = start();
    const UINT tray = ::RegisterWindowMessageA("WM_TRAY_ICON_NOTIFY_MESSAGE");
    struct Row {
        LPARAM mouse;
        int item; // position chosen in the popup
        const wchar_t* status;
        DWORD stored;
    };
    // Right click, right double click and the context-menu key open the popup.
    const Row rows[] = {
        {WM_RBUTTONDOWN, 4, L"Searching For X-Lite", 4},
        {WM_RBUTTONDBLCLK, 1, L"Searching For Net2Phone", 1},
        {WM_CONTEXTMENU, 5, L"Searching For EyeBeam", 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        // Posted: the menu runs its own loop until it closes.
        ::PostMessageA(p->mainWindow(), tray, 1, row.mouse);
        HWND popup = waitPopupMenu(true, kWaitMs);
        ASSERT_NE(popup, nullptr);
        for (int i = 0; i <= row.item; ++i)
            ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_TRUE(waitPopupMenu(false, kWaitMs) || !::FindWindowA("#32768", nullptr));
        // The menu posts the chosen command; it is handled once the status shows it.
        const double deadline = nowMs() + kWaitMs;
        while (p->statusText() != row.status && nowMs() < deadline)
            ::Sleep(5);
        EXPECT_EQ(p->statusText(), row.status);
        DWORD value = 0;
        ASSERT_TRUE(storedSelection(&value));
        EXPECT_EQ(value, row.stored);
        EXPECT_EQ(p->comboSelection(), static_cast<int>(row.stored));
    }
    // A left click, a move, or another icon's notification opens nothing.
    p->trayNotify(WM_LBUTTONDOWN);
    p->trayNotify(WM_MOUSEMOVE);
    p->sendRegistered("WM_TRAY_ICON_NOTIFY_MESSAGE", 2, WM_RBUTTONDOWN);
    HWND none = ::FindWindowA("#32768", nullptr);
    EXPECT_TRUE(!none || !::IsWindowVisible(none));
}

TEST_F(TelvaneTest, EachTrayPopupChecksItsOwnSoftphone)
{
    // The marks are fixed in the program's menu resource: popup k checks item k.
    HMODULE image = ::LoadLibraryExW(L"telvane.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    HMENU menu = ::LoadMenuW(image, MAKEINTRESOURCEW(129));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 6);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        HMENU popup = ::GetSubMenu(menu, k);
        ASSERT_EQ(::GetMenuItemCount(popup), 8);
        for (int item = 0; item < 6; ++item)
            EXPECT_EQ((::GetMenuState(popup, static_cast<UINT>(item), MF_BYPOSITION) & MF_CHECKED) != 0, item == k);
        EXPECT_TRUE(::GetMenuState(popup, 6, MF_BYPOSITION) & MF_SEPARATOR);
    }
    ::DestroyMenu(menu);
    ::FreeLibrary(image);
}

TEST_F(TelvaneTest, MenuAndComboSelectionsAreShownAndStored)
{
    deleteStoredSelection();
    auto p = start();
    struct Row {
        const char* name;
        std::function<void()> act;
        int combo;
        const wchar_t* status;
        DWORD stored;
    };
    HWND combo = p->control(1012);
    auto closeUpOn = [&](int item) {
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        // The control itself notifies its parent when its list closes.
        ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        p->send(WM_NULL);
    };
    const Row rows[] = {
        {"menu Net2Phone (popup 1)", [&] { p->command(32777); }, 1, L"Searching For Net2Phone", 1},
        {"menu eyeBeam (popup 5)", [&] { p->command(32818); }, 5, L"Searching For EyeBeam", 5},
        {"menu X-Lite (popup 0)", [&] { p->command(32801); }, 4, L"Searching For X-Lite", 4},
        {"menu SJ Phone (popup 3)", [&] { p->command(32790); }, 3, L"Searching For SJPhone", 3},
        {"menu Skype, not attached", [&] { p->command(32771); }, 0, L"Searching For Skype", 0},
        {"combo MSN Messenger", [&] { closeUpOn(2); }, 2, L"Searching For MSN Messenger", 2},
        {"combo closed without a selection", [&] { closeUpOn(-1); }, -1, L"Searching For MSN Messenger", 0xFFFFFFFF},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        EXPECT_EQ(p->comboSelection(), row.combo);
        EXPECT_EQ(p->statusText(), row.status);
        DWORD value = 0;
        ASSERT_TRUE(storedSelection(&value));
        EXPECT_EQ(value, row.stored);
    }

    // Choosing what is already selected writes the value again.
    p->command(32772);
    storeSelection(9);
    p->command(32777);
    DWORD value = 0;
    ASSERT_TRUE(storedSelection(&value));
    EXPECT_EQ(value, 1u);
}

TEST_F(TelvaneTest, DeactivationHidesIntoTheTrayAndADoubleClickBringsItBack)
{
    auto p = start();
    ASSERT_TRUE(p->visible());
    {
        // Another program's window takes the foreground. It goes again once the
        // program has hidden, so that the activation it would get back later
        // cannot hide the program once more.
        platform::win::UniqueWindow other(::CreateWindowExA(0, "STATIC", "another program",
                                                            WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                                            nullptr, nullptr, nullptr));
        ::SetForegroundWindow(other.get());
        ASSERT_TRUE(p->waitVisible(false, kWaitMs));
    }

    // A single click does nothing; a double click brings the window back.
    p->trayNotify(WM_LBUTTONDOWN);
    EXPECT_FALSE(p->visible());
    p->trayNotify(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(p->waitVisible(true, kWaitMs));

    // Minimise goes to the tray too, and the icon brings it back again.
    p->send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(p->visible());
    EXPECT_FALSE(::IsIconic(p->mainWindow()));
    p->trayNotify(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(p->waitVisible(true, kWaitMs));
    // With no icon shown, a double click inside the window restores nothing.
    p->send(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(p->visible()) << "close goes to the tray";
}

TEST_F(TelvaneTest, RingMessagesByTheSelectedSoftphone)
{
    auto p = start(true);
    struct Row {
        const char* name;
        UINT selectCommand;
        const char* message;
        std::vector<std::uint32_t> commands; // before the closing OFF_BUZZER's 0x0010
    };
    const Row rows[] = {
        {"ON_BUZZER with eyeBeam", 32812, "ON_BUZZER", {}},
        {"XLite_RING_ON with Skype", 32771, "XLite_RING_ON", {}},
        {"XLite_RING_ON with eyeBeam", 32812, "XLite_RING_ON", {0x0011}},
        {"XLite_RING_ON with X-Lite", 32801, "XLite_RING_ON", {0x0011}},
        {"XLite_RING_OFF with X-Lite", 32801, "XLite_RING_OFF", {0x0010}},
        {"XLite_RING_OFF with MSN Messenger", 32794, "XLite_RING_OFF", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        p->command(row.selectCommand);
        const std::uint64_t from = handset().recordCount();
        p->sendRegistered(row.message);
        p->sendRegistered("OFF_BUZZER"); // rings off whatever the selection: closes the row
        auto got = commandsUntil(from, 0x0010);
        if (!row.commands.empty() && row.commands.back() == 0x0010) {
            EXPECT_EQ(got, (std::vector<std::uint32_t>{0x0010})); // its own off closes the row
        } else {
            auto expected = row.commands;
            expected.push_back(0x0010);
            EXPECT_EQ(got, expected);
        }
    }
}

TEST_F(TelvaneTest, RingBurstForXLiteStopsByItself)
{
    auto p = start(true);
    p->command(32801);
    const std::uint64_t from = handset().recordCount();
    p->sendRegistered("ON_BUZZER");
    auto on = waitCommand(from, 0x0011);
    ASSERT_TRUE(on);
    // The window stays responsive during the burst.
    EXPECT_EQ(p->statusText(), L"Searching For X-Lite");
    auto off = waitCommand(on->index, 0x0010, 15000);
    ASSERT_TRUE(off);
    const double rang = handset().ticksToMs(off->record.ticks) - handset().ticksToMs(on->record.ticks);
    std::printf("the burst rang for %.0f ms\n", rang);
    EXPECT_GE(rang, 5000.0);
    EXPECT_LT(rang, 7000.0);
}

TEST_F(TelvaneTest, AnswerAndHangUpKeysSilenceTheRingerFirstForEverySelection)
{
    auto p = start(true);
    struct Row {
        const char* name;
        std::function<void()> select;
    };
    HWND combo = p->control(1012);
    const Row rows[] = {
        {"Skype", [&] { p->command(32771); }},         {"Net2Phone", [&] { p->command(32772); }},
        {"MSN Messenger", [&] { p->command(32773); }}, {"SJ Phone", [&] { p->command(32774); }},
        {"X-Lite", [&] { p->command(32801); }},        {"eyeBeam", [&] { p->command(32808); }},
        {"none", [&] {
             ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
             ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
             ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
             p->send(WM_NULL);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.select();
        for (std::uint16_t scan : {0x0030, 0x0031, 0x0033}) { // YES, NO, second hang-up: press
            const std::uint64_t from = handset().recordCount();
            key(scan);
            EXPECT_TRUE(waitCommand(from, 0x0010)) << "key " << scan;
            key(static_cast<std::uint16_t>(scan | 0x80));
        }
    }
}

TEST_F(TelvaneTest, CloseFromOutsideStopsKeysButNotTheProgram)
{
    auto p = start(true);
    p->send(WM_CLOSE);
    EXPECT_TRUE(p->running());
    EXPECT_TRUE(::IsWindow(p->mainWindow()));

    // The handset library's hidden control window goes; the main window stays.
    auto controlWindow = [&] {
        return findProcessWindow(p->processId(), [](HWND hwnd) {
            char cls[16] = {};
            ::GetClassNameA(hwnd, cls, sizeof cls);
            return std::string(cls) == "#32770" && ::GetWindowTextLengthW(hwnd) == 0;
        });
    };
    const double deadline = nowMs() + kWaitMs;
    while (controlWindow() && nowMs() < deadline)
        ::Sleep(5);
    ASSERT_EQ(controlWindow(), nullptr);

    // A key now finds no window to tell: the library forwards nothing.
    const std::uint64_t from = handset().recordCount();
    key(0x0030);
    auto note = handset().waitRecord(from, [](const Record& r) {
        return r.kind == static_cast<std::uint32_t>(RecordKind::Notify) &&
               r.a == static_cast<std::uint32_t>(simhandset::Notice::Gpio) && r.b == 2;
    }, kWaitMs);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->record.c, 0u) << "not posted";

    // "Close" still ends it.
    p->command(32797);
    DWORD code = 0;
    ASSERT_TRUE(p->waitExit(kWaitMs, &code));
    EXPECT_EQ(code, static_cast<DWORD>(IDOK));
}

TEST_F(TelvaneTest, HandsetArrivalSilencesAndShowsIdle)
{
    auto p = start();
    const std::uint64_t from = handset().recordCount();
    handset().plug();
    // Handset ready: ringer off and the idle pattern, while the library waits
    // for the window before its own arrival command.
    EXPECT_EQ(commandsUntil(from, 0x0030), (std::vector<std::uint32_t>{0x0010, 0x0021, 0x0030}));
}
