// The converter on Windows through the chip maker's driver library FTD2XX.DLL, loaded when a
// converter is first opened and bound by ordinal. Without the library there is no converter.
#include <mutex>
#include <windows.h>

#include "link/d2xx.h"

namespace q7x::link {

namespace {

// The library's entry points (ULONG status, PVOID handle, DWORD counts).
using OpenFn = ULONG(WINAPI *)(int, PVOID *);
using HandleFn = ULONG(WINAPI *)(PVOID);
using ReadFn = ULONG(WINAPI *)(PVOID, LPVOID, DWORD, LPDWORD);
using WriteFn = ULONG(WINAPI *)(PVOID, LPVOID, DWORD, LPDWORD);
using ULongFn = ULONG(WINAPI *)(PVOID, ULONG);
using DataFn = ULONG(WINAPI *)(PVOID, UCHAR, UCHAR, UCHAR);
using TimeoutsFn = ULONG(WINAPI *)(PVOID, ULONG, ULONG);

template <typename Fn> Fn entry(HMODULE module, WORD ordinal) {
    const FARPROC p = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    // Through the generic function pointer type, which converts to any other without warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
}

class DllD2xx : public D2xx {
  public:
    FtStatus FT_Open(int deviceIndex, FtHandle *handle) override {
        if (!handle)
            return FtInvalidParameter;
        *handle = nullptr;
        if (!load())
            return FtDeviceNotFound;
        PVOID h = nullptr;
        const ULONG status = open_(deviceIndex, &h);
        if (status == 0)
            *handle = h;
        return status;
    }
    FtStatus FT_Close(FtHandle handle) override {
        return loaded() ? close_(handle) : FtInvalidHandle;
    }
    FtStatus FT_Read(FtHandle handle, std::uint8_t *buffer, std::uint32_t count,
                     std::uint32_t *received) override {
        if (received)
            *received = 0;
        if (!loaded())
            return FtInvalidHandle;
        DWORD got = 0;
        const ULONG status = read_(handle, buffer, count, &got);
        if (received)
            *received = got <= count ? got : count;
        return status;
    }
    FtStatus FT_Write(FtHandle handle, const std::uint8_t *buffer, std::uint32_t count,
                      std::uint32_t *written) override {
        if (written)
            *written = 0;
        if (!loaded())
            return FtInvalidHandle;
        DWORD done = 0;
        // The library takes a non-const buffer but only reads it.
        const ULONG status = write_(handle, const_cast<std::uint8_t *>(buffer), count, &done);
        if (written)
            *written = done <= count ? done : count;
        return status;
    }
    FtStatus FT_ResetDevice(FtHandle handle) override {
        return loaded() ? reset_(handle) : FtInvalidHandle;
    }
    FtStatus FT_SetBaudRate(FtHandle handle, std::uint32_t baudRate) override {
        return loaded() ? baud_(handle, baudRate) : FtInvalidHandle;
    }
    FtStatus FT_SetDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                       std::uint8_t stopBits, std::uint8_t parity) override {
        return loaded() ? data_(handle, wordLength, stopBits, parity) : FtInvalidHandle;
    }
    FtStatus FT_Purge(FtHandle handle, std::uint32_t mask) override {
        return loaded() ? purge_(handle, mask) : FtInvalidHandle;
    }
    FtStatus FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override {
        return loaded() ? timeouts_(handle, readMs, writeMs) : FtInvalidHandle;
    }

  private:
    // Loads the library once; a library missing any entry point counts as missing. It stays
    // loaded for the life of the process, so the entry points never dangle.
    bool load() {
        std::lock_guard lock(mutex_);
        if (loaded_)
            return true;
        HMODULE m = LoadLibraryW(L"FTD2XX.DLL");
        if (!m)
            return false;
        open_ = entry<OpenFn>(m, 1);
        close_ = entry<HandleFn>(m, 2);
        read_ = entry<ReadFn>(m, 3);
        write_ = entry<WriteFn>(m, 4);
        reset_ = entry<HandleFn>(m, 6);
        baud_ = entry<ULongFn>(m, 7);
        data_ = entry<DataFn>(m, 8);
        purge_ = entry<ULongFn>(m, 16);
        timeouts_ = entry<TimeoutsFn>(m, 17);
        if (!open_ || !close_ || !read_ || !write_ || !reset_ || !baud_ || !data_ || !purge_ ||
            !timeouts_) {
            FreeLibrary(m);
            return false;
        }
        loaded_ = true;
        return true;
    }
    bool loaded() {
        std::lock_guard lock(mutex_);
        return loaded_;
    }

    std::mutex mutex_;
    bool loaded_ = false;
    OpenFn open_ = nullptr;
    HandleFn close_ = nullptr;
    ReadFn read_ = nullptr;
    WriteFn write_ = nullptr;
    HandleFn reset_ = nullptr;
    ULongFn baud_ = nullptr;
    DataFn data_ = nullptr;
    ULongFn purge_ = nullptr;
    TimeoutsFn timeouts_ = nullptr;
};

} // namespace

std::unique_ptr<D2xx> makeSystemD2xx() { return std::make_unique<DllD2xx>(); }

} // namespace q7x::link
