#include "telvane_process.h"

#include "app_window.h"

#include <stdexcept>
#include <vector>

namespace wine_tests {

namespace {

constexpr DWORD kSendTimeoutMs = 15000;
constexpr const char* kSelectionKey = "Software\\Torvel\\Subkey";

std::wstring besideThisProgram(const wchar_t* file)
{
    std::vector<wchar_t> path(MAX_PATH * 4);
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring dir(path.data(), n);
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + file;
}

} // namespace

std::unique_ptr<TelvaneProcess> TelvaneProcess::launch(bool waitForWindow)
{
    std::unique_ptr<TelvaneProcess> p(new TelvaneProcess());
    p->job_.reset(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(p->job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    std::wstring exe = besideThisProgram(L"telvane.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &si, &pi))
        throw std::runtime_error("telvane.exe did not start");
    ::AssignProcessToJobObject(p->job_.get(), pi.hProcess);
    ::ResumeThread(pi.hThread);
    ::CloseHandle(pi.hThread);
    p->process_.reset(pi.hProcess);
    p->processId_ = pi.dwProcessId;

    if (waitForWindow) {
        const double deadline = nowMs() + 15000;
        while (!(p->window_ = p->findWindow()) && nowMs() < deadline && p->running())
            ::Sleep(10);
        if (!p->window_)
            throw std::runtime_error("telvane.exe showed no main window");
        // Initialisation has run to its end once the window answers.
        p->send(WM_NULL);
    }
    return p;
}

TelvaneProcess::~TelvaneProcess()
{
    if (running()) {
        ::TerminateProcess(process_.get(), 0xDEAD);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

HWND TelvaneProcess::findWindow() const
{
    return findProcessWindow(processId_, [](HWND hwnd) {
        wchar_t caption[128] = {};
        ::GetWindowTextW(hwnd, caption, static_cast<int>(std::size(caption)));
        return std::wstring(caption) == kTelvaneCaption;
    });
}

bool TelvaneProcess::running() const { return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool TelvaneProcess::waitExit(DWORD timeoutMs, DWORD* code) const
{
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (code)
        ::GetExitCodeProcess(process_.get(), code);
    return true;
}

std::wstring TelvaneProcess::controlText(int id) const
{
    wchar_t text[256] = {};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(control(id), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          kSendTimeoutMs, &ignored);
    return text;
}

int TelvaneProcess::comboSelection() const { return static_cast<int>(::SendMessageW(control(1012), CB_GETCURSEL, 0, 0)); }

LRESULT TelvaneProcess::sendRegistered(const char* name, WPARAM wParam, LPARAM lParam) const
{
    return send(::RegisterWindowMessageA(name), wParam, lParam);
}

LRESULT TelvaneProcess::send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window_, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result))
        throw std::runtime_error("telvane's main window did not answer");
    return static_cast<LRESULT>(result);
}

void TelvaneProcess::command(UINT id) const
{
    // Sent rather than posted as the menu does, so that it has been handled on return.
    send(WM_COMMAND, id, 0);
}

bool TelvaneProcess::waitVisible(bool shown, DWORD timeoutMs) const
{
    const double deadline = nowMs() + timeoutMs;
    while (visible() != shown) {
        if (nowMs() >= deadline)
            return false;
        ::Sleep(5);
    }
    return true;
}

void TelvaneProcess::kill()
{
    ::TerminateProcess(process_.get(), 0xDEAD);
    ::WaitForSingleObject(process_.get(), 5000);
}

void deleteStoredSelection() { ::RegDeleteKeyA(HKEY_CURRENT_USER, kSelectionKey); }

void storeSelection(DWORD value)
{
    platform::win::UniqueRegKey key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kSelectionKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    ::RegSetValueExA(key.get(), "type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool storedSelection(DWORD* value, DWORD* type)
{
    platform::win::UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSelectionKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof *value, kind = 0;
    if (::RegQueryValueExA(key.get(), "type", nullptr, &kind, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return false;
    if (type)
        *type = kind;
    return true;
}

} // namespace wine_tests
