// Skype's number field among the children of its main window.

#include <skype_number_field.h>

#include <platform/win/handles.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ShowWindowSeen {
    WPARAM shown;
    LPARAM status;
};
std::vector<ShowWindowSeen> g_formShows;

LRESULT CALLBACK formProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW)
        g_formShows.push_back({wParam, lParam});
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND child(const char* className, HWND parent)
{
    return ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
}

} // namespace

TEST(SkypeNumberField, LastEditChildWinsAndTheMainFormHearsItsParentClose)
{
    WNDCLASSA form{};
    form.lpfnWndProc = formProcedure;
    form.lpszClassName = "tSkMainForm.UnicodeClass";
    ASSERT_NE(::RegisterClassA(&form), 0);
    WNDCLASSA field{};
    field.lpfnWndProc = ::DefWindowProcA;
    field.lpszClassName = "TSkypeNumberEdit";
    ASSERT_NE(::RegisterClassA(&field), 0);

    platform::win::UniqueWindow main(::CreateWindowExA(0, "STATIC", "Skype", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                                       nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(main);
    EXPECT_EQ(skype::win::skypeNumberField(), nullptr);

    HWND firstEdit = child("Edit", main.get());
    HWND mainForm = child("tSkMainForm.UnicodeClass", main.get());
    HWND button = child("BUTTON", main.get());
    HWND lastEdit = child("TSkypeNumberEdit", mainForm); // a descendant; its class contains "Edit"
    ASSERT_TRUE(firstEdit && mainForm && button && lastEdit);
    g_formShows.clear();

    ::EnumChildWindows(main.get(), skype::win::findSkypeNumberField, 0);
    EXPECT_EQ(skype::win::skypeNumberField(), lastEdit);
    ASSERT_EQ(g_formShows.size(), 1u);
    EXPECT_EQ(g_formShows[0].shown, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(g_formShows[0].status, static_cast<LPARAM>(SW_PARENTCLOSING));

    // Class names are matched with their case: "edit" is not a number field.
    WNDCLASSA other{};
    other.lpfnWndProc = ::DefWindowProcA;
    other.lpszClassName = "lowercase_numberedit";
    ASSERT_NE(::RegisterClassA(&other), 0);
    HWND lower = child("lowercase_numberedit", main.get());
    ASSERT_NE(lower, nullptr);
    ::EnumChildWindows(main.get(), skype::win::findSkypeNumberField, 0);
    EXPECT_EQ(skype::win::skypeNumberField(), lastEdit);
}
