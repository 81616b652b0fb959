#pragma once
// telvane.exe as a child of the test, in a job that ends it with the test,
// with the simulated handset channel of the test's environment. The program
// is watched and driven from outside, as the shell and other programs would.

#include <platform/win/handles.h>

#include <windows.h>

#include <memory>
#include <string>

namespace wine_tests {

constexpr const wchar_t* kTelvaneCaption = L" Dravoline R5 USB Phone Treiber Version 1.262";

class TelvaneProcess {
public:
    // Starts bin/telvane.exe beside the test program. With waitForWindow, returns
    // once its main window carries its caption (null when it did not).
    static std::unique_ptr<TelvaneProcess> launch(bool waitForWindow = true);
    ~TelvaneProcess();

    HWND mainWindow() const { return window_; }
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_.get(); }

    bool running() const;
    // True when it ended within the time; its exit code then in *code.
    bool waitExit(DWORD timeoutMs, DWORD* code = nullptr) const;

    std::wstring controlText(int id) const;
    std::wstring statusText() const { return controlText(1005); }
    HWND control(int id) const { return ::GetDlgItem(window_, id); }
    int comboSelection() const;

    // A registered message, sent and handled before this returns.
    LRESULT sendRegistered(const char* name, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // A menu command, handled by the time this returns.
    void command(UINT id) const;
    // What the shell sends for a mouse event on the notification-area icon.
    void trayNotify(LPARAM mouseMessage) const { sendRegistered("WM_TRAY_ICON_NOTIFY_MESSAGE", 1, mouseMessage); }

    bool visible() const { return ::IsWindowVisible(window_) != FALSE; }
    // Polls until the window's visibility is as asked; false on timeout.
    bool waitVisible(bool shown, DWORD timeoutMs) const;

    // Ends it by TerminateProcess, as a crash would.
    void kill();

private:
    TelvaneProcess() = default;
    HWND findWindow() const;

    platform::win::UniqueHandle job_;
    platform::win::UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// HKEY_CURRENT_USER\Software\Torvel\Subkey "type".
void deleteStoredSelection();
void storeSelection(DWORD value);
// False when the value is missing; *type receives its registry type.
bool storedSelection(DWORD* value, DWORD* type = nullptr);

} // namespace wine_tests
