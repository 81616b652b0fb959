#pragma once
// RAII aliases for the Win32 handles the project holds.

#include <platform/unique_resource.h>

#include <windows.h>

#include <mmsystem.h>

namespace platform::win {

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::FreeLibrary(h); }
};

struct MappedViewTraits {
    using pointer = void*;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::UnmapViewOfFile(p); }
};

struct WindowTraits {
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DestroyWindow(h); }
};

struct MenuTraits {
    using pointer = HMENU;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DestroyMenu(h); }
};

struct MixerTraits {
    using pointer = HMIXER;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::mixerClose(h); }
};

// Mutexes, events, threads, processes, file mappings: NULL is invalid.
using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueView = UniqueResource<MappedViewTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueMixer = UniqueResource<MixerTraits>;

} // namespace platform::win
