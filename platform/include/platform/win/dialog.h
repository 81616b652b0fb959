#pragma once
// Modal dialogs from templates with `this` bound to the window, in place of a
// class library. The procedure catches everything: no exception crosses the OS.

#include <windows.h>

namespace platform::win {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog with the wide entry point, so template texts keep their
    // characters whatever the ANSI code page, and runs it until EndDialog.
    INT_PTR runModal(HINSTANCE instance, int templateId, HWND parent = nullptr);

    HWND hwnd() const noexcept { return hwnd_; }

protected:
    // Answer true when the message was handled; result then becomes the
    // procedure's answer (DWLP_MSGRESULT for messages that need one).
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Called last, while the window still exists.
    virtual void onDestroy() {}

private:
    static INT_PTR CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// Messages whose procedure answer is the return value itself rather than DWLP_MSGRESULT.
bool answersDirectly(UINT message) noexcept;

} // namespace platform::win
