#include "viewer/ProcessQuery.h"

#include "platform/Ansi.h"
#include "platform/SystemFunction.h"
#include "platform/UniqueBstr.h"

#include <winternl.h>

namespace {

// A VARIANT cleared by its owner.
struct Variant {
    VARIANT value;
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

UniqueBstr MakeBstr(const std::wstring& text) {
    return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// The text of a string property; empty when it is absent or null.
std::wstring StringProperty(IWbemClassObject* object, const wchar_t* name) {
    Variant property;
    if (FAILED(object->Get(name, 0, &property.value, nullptr, nullptr)) ||
        property.value.vt != VT_BSTR || !property.value.bstrVal)
        return {};
    return std::wstring(property.value.bstrVal, SysStringLen(property.value.bstrVal));
}

// Win32_Process answers only callers that allow impersonation, as the winmgmts moniker
// does by default.
void SetCallSecurity(IUnknown* proxy) {
    CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

bool ReadMemory(HANDLE process, const void* address, void* buffer, std::size_t size) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, buffer, size, &read) && read == size;
}

} // namespace

ProcessQuery::ProcessQuery() {
    ComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(locator.put()))))
        return;
    const UniqueBstr space = MakeBstr(L"\\\\.\\root\\cimv2");
    // Windows' own bound on the connection (two minutes) instead of none.
    if (FAILED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr,
                                      WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr,
                                      services_.put()))) {
        services_.reset();
        return;
    }
    SetCallSecurity(services_.get());
}

// The process by its id, asked semisynchronously: WMI hands over an enumerator at once,
// and the wait for the object has a bound. (GetObject by the object path
// "Win32_Process.Handle=N" has none: it waits for a repository that never answers.)
ComPtr<IWbemClassObject> ProcessQuery::FetchObject(DWORD processId) {
    ComPtr<IWbemClassObject> object;
    const UniqueBstr language = MakeBstr(L"WQL");
    const UniqueBstr query =
        MakeBstr(L"SELECT * FROM Win32_Process WHERE ProcessId = " + std::to_wstring(processId));
    ComPtr<IEnumWbemClassObject> found;
    if (FAILED(services_->ExecQuery(language.get(), query.get(),
                                    WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                    found.put())) ||
        !found)
        return object;
    SetCallSecurity(found.get());
    ULONG count = 0;
    const HRESULT answer = found->Next(WmiAnswerBoundMs, 1, object.put(), &count);
    if (answer == WBEM_S_TIMEDOUT)
        services_.reset(); // out of reach: not asked again
    if (answer != WBEM_S_NO_ERROR || count != 1)
        object.reset();
    return object;
}

std::optional<ProcessFacts> ProcessQuery::Fetch(DWORD processId) {
    if (!services_)
        return std::nullopt;
    const ComPtr<IWbemClassObject> object = FetchObject(processId);
    if (!object)
        return std::nullopt;
    ProcessFacts facts{StringProperty(object.get(), L"ExecutablePath"),
                       StringProperty(object.get(), L"CommandLine")};
    if (facts.executablePath.empty())
        facts.executablePath = ProcessImagePath(processId);
    if (facts.commandLine.empty())
        facts.commandLine = ProcessCommandLine(processId);
    return facts;
}

std::wstring ProcessImagePath(DWORD processId) {
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return {};
    std::string path(MAX_PATH * 2, '\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameA(process.get(), 0, path.data(), &size))
        return {};
    path.resize(size);
    return FromAnsi(path);
}

std::wstring ProcessCommandLine(DWORD processId) {
    // ntdll's own: there is no import library for it.
    const auto query =
        OptionalSystemFunction<NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG)>(
            L"ntdll.dll", "NtQueryInformationProcess");
    if (!query)
        return {};
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process)
        return {};
    PROCESS_BASIC_INFORMATION basic{};
    if (query(process.get(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !basic.PebBaseAddress)
        return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadMemory(process.get(), basic.PebBaseAddress, &peb, sizeof(peb)) ||
        !peb.ProcessParameters ||
        !ReadMemory(process.get(), peb.ProcessParameters, &parameters, sizeof(parameters)) ||
        !parameters.CommandLine.Buffer)
        return {};
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!line.empty() && !ReadMemory(process.get(), parameters.CommandLine.Buffer, line.data(),
                                     line.size() * sizeof(wchar_t)))
        return {};
    return line;
}
