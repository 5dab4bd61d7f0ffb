#include "platform/Virtualization.h"

namespace {

UniqueKernelHandle OpenOwnToken(DWORD access) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), access, token.put()))
        token.release();
    return token;
}

bool ReadVirtualization(HANDLE token) {
    DWORD enabled = 0;
    DWORD size = 0;
    return GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled,
                               &size) &&
           enabled != 0;
}

bool WriteVirtualization(HANDLE token, DWORD enabled) {
    return SetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled) !=
           FALSE;
}

} // namespace

FileVirtualizationOff::FileVirtualizationOff()
    : token_(OpenOwnToken(TOKEN_QUERY | TOKEN_ADJUST_DEFAULT)) {
    // Where the system has no such setting, or does not let it change, writes go on as
    // they would.
    if (token_ && ReadVirtualization(token_.get()))
        restore_ = WriteVirtualization(token_.get(), 0);
}

FileVirtualizationOff::~FileVirtualizationOff() {
    if (restore_)
        WriteVirtualization(token_.get(), 1);
}

bool VirtualizationEnabled() {
    const UniqueKernelHandle token = OpenOwnToken(TOKEN_QUERY);
    return token && ReadVirtualization(token.get());
}
