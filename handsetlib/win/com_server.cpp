// COM server entry points of a library that carries a type library and no
// classes. The type library is resource 1 of the DLL itself.

#include "library.h"

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

namespace {

std::wstring modulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(quorvex::win::moduleInstance(), path.data(),
                                             static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Loads the embedded type library without touching the registry.
HRESULT loadOwnTypeLib(ITypeLib** lib)
{
    const std::wstring path = modulePath();
    if (path.empty())
        return HRESULT_FROM_WIN32(::GetLastError());
    return ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib);
}

} // namespace

STDAPI DllCanUnloadNow(void)
{
    // Threads of the library run from InitCM108Control on; unloading then
    // would pull the code from under them.
    try {
        return quorvex::win::Library::instance().started() ? S_FALSE : S_OK;
    } catch (...) {
        return S_FALSE;
    }
}

STDAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object)
{
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer(void)
{
    ITypeLib* lib = nullptr;
    HRESULT hr = loadOwnTypeLib(&lib);
    if (FAILED(hr))
        return SELFREG_E_TYPELIB;
    std::wstring path = modulePath();
    hr = ::RegisterTypeLib(lib, path.data(), nullptr);
    lib->Release();
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

STDAPI DllUnregisterServer(void)
{
    ITypeLib* lib = nullptr;
    HRESULT hr = loadOwnTypeLib(&lib);
    if (FAILED(hr))
        return SELFREG_E_TYPELIB;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        hr = ::UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
        lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    // Already absent counts as unregistered.
    if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY)
        return S_OK;
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}
