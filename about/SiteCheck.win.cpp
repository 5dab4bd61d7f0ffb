#include "about/SiteCheck.h"

#include "about/UpdateCheck.h"

#include "platform/Ansi.h"
#include "platform/InternetHandle.h"
#include "platform/MessagePump.h"
#include "platform/ProgramInfo.h"
#include "platform/Ticks.h"
#include "platform/UniqueHandle.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>

namespace {

// Limit for connecting, sending and each read. WinINet alone would wait for a silent
// server far longer than anyone keeps an About window waiting.
constexpr DWORD NetworkTimeoutMs = 5000;
constexpr DWORD ReadSize = 2048;

// The whole download's time: a site that sends a few bytes every few seconds passes each
// step's limit, so every step may take only what is left of the whole.
class Deadline {
  public:
    explicit Deadline(unsigned waitedMs)
        : start_(GetTickCount() - std::min(waitedMs, DownloadLimitMs)) {}
    DWORD Left() const { return RemainingWait(start_, GetTickCount(), DownloadLimitMs); }
    // The step limits of handle: the step limit, or what is left when that is less.
    void LimitSteps(HINTERNET handle) const {
        DWORD timeout = std::min(NetworkTimeoutMs, std::max<DWORD>(Left(), 1));
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT})
            InternetSetOptionA(handle, option, &timeout, sizeof timeout);
    }

  private:
    DWORD start_;
};

struct UrlParts {
    std::string host;
    std::string object; // path and query
    INTERNET_PORT port = 0;
    bool secure = false;
};

// The parts of an http or https address; otherwise the error that says why not.
DWORD SplitUrl(const std::string& url, UrlParts& parts) {
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    char path[INTERNET_MAX_PATH_LENGTH + 1] = {};
    char extra[INTERNET_MAX_PATH_LENGTH + 1] = {};
    URL_COMPONENTSA components{};
    components.dwStructSize = sizeof components;
    components.lpszHostName = host;
    components.dwHostNameLength = sizeof host;
    components.lpszUrlPath = path;
    components.dwUrlPathLength = sizeof path;
    components.lpszExtraInfo = extra;
    components.dwExtraInfoLength = sizeof extra;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &components))
        return GetLastError();
    if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS)
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    parts.host = host;
    parts.object.assign(path);
    parts.object.append(extra);
    if (parts.object.empty())
        parts.object.push_back('/');
    parts.port = components.nPort;
    parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    return parts.host.empty() ? ERROR_INTERNET_INVALID_URL : ERROR_SUCCESS;
}

// Where the download gives up: one line for a debugger with the step and the system's
// error (a maker's support can then tell no connection from a refusal or a slow site),
// and no answer.
std::string GiveUp(const char* step, DWORD error) {
    char line[160];
    std::snprintf(line, sizeof line, "Varnholt update check gave up at %s: error %lu\n", step,
                  static_cast<unsigned long>(error));
    OutputDebugStringA(line);
    return {};
}

// The body the server sends for url, whatever its status; empty when nothing arrives, or
// when the whole of it does not arrive within the time and size limits. The request goes
// through a request handle of its own, the one kind of handle on which the time limits
// hold for every step.
std::string DownloadText(const std::wstring& url, unsigned waitedMs) {
    const Deadline deadline(waitedMs);
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0))
        return GiveUp("InternetGetConnectedState (no connection)", GetLastError());
    UniqueInternet root(InternetOpenA("", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const DWORD openError = GetLastError();
    DispatchPendingMessages();
    if (!root)
        return GiveUp("InternetOpen", openError);
    deadline.LimitSteps(root.get());
    UrlParts parts;
    if (const DWORD error = SplitUrl(ToAnsi(url), parts))
        return GiveUp("the address (no http or https address)", error);
    UniqueInternet connection(InternetConnectA(root.get(), parts.host.c_str(), parts.port, nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return GiveUp("InternetConnect", GetLastError());
    const DWORD requestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                               (parts.secure ? INTERNET_FLAG_SECURE : 0);
    UniqueInternet request(HttpOpenRequestA(connection.get(), "GET", parts.object.c_str(), nullptr,
                                            nullptr, nullptr, requestFlags, 0));
    if (!request)
        return GiveUp("HttpOpenRequest", GetLastError());
    deadline.LimitSteps(request.get());
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0))
        return GiveUp("HttpSendRequest", GetLastError());
    std::string body;
    char buffer[ReadSize];
    DWORD received = 0;
    do {
        DispatchPendingMessages();
        deadline.LimitSteps(request.get());
        // Only what has arrived: a read of a whole buffer waits until the buffer is full,
        // and a site that sends a byte now and then would keep it for minutes.
        // A body cut off by a failed step is no answer: it may end anywhere.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.get(), &available, 0, 0))
            return GiveUp("InternetQueryDataAvailable", GetLastError());
        received = 0;
        if (available > 0 &&
            !InternetReadFile(request.get(), buffer, std::min(available, ReadSize), &received))
            return GiveUp("InternetReadFile", GetLastError());
        body.append(buffer, received);
        if (deadline.Left() == 0)
            return GiveUp("the time limit (10 s)", ERROR_INTERNET_TIMEOUT);
        if (body.size() > DownloadLimitBytes)
            return GiveUp("the size limit (64 KiB)", ERROR_INSUFFICIENT_BUFFER);
    } while (received > 0);
    // The handles close here: the request, then the connection, then the root.
    return body;
}

} // namespace

std::wstring SiteAddress() {
    return SiteAddressOf(VersionResourceString(L"Comments"));
}

std::wstring VersionFileAddress() {
    return VersionFileAddressOf(SiteAddress(), ProgramName());
}

std::wstring SetupAddress() {
    return SetupAddressOf(SiteAddress());
}

VersionAnswer CheckLatestVersion(const std::wstring& url, const std::wstring& currentVersion,
                                 std::wstring& latestVersion, double* setupSize,
                                 unsigned waitedMs) {
    if (url.empty())
        return VersionAnswer::None;
    const std::wstring body = FromAnsi(DownloadText(url, waitedMs));
    if (body.empty())
        return VersionAnswer::None;
    const VersionFileReading reading = ReadVersionFile(body, currentVersion);
    latestVersion = reading.latestVersion;
    if (setupSize)
        *setupSize = reading.setupSize;
    return reading.result;
}
