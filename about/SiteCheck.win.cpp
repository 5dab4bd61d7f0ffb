#include "about/SiteCheck.h"

#include "about/UpdateCheck.h"

#include "platform/Ansi.h"
#include "platform/InternetHandle.h"
#include "platform/MessagePump.h"
#include "platform/ProgramInfo.h"
#include "platform/Ticks.h"
#include "platform/UniqueHandle.h"
#include "platform/VersionText.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <optional>
#include <string>

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

// Where the download gives up: one line for a debugger with the step and why (the
// system's error, a status), so that a maker's support can tell no connection from a
// refusal or a slow site; and no answer.
std::nullopt_t GiveUp(const char* step, const std::string& why) {
    const std::string line =
        "Varnholt update check gave up at " + std::string(step) + ": " + why + "\n";
    OutputDebugStringA(line.c_str());
    return std::nullopt;
}

std::nullopt_t GiveUp(const char* step, DWORD error) {
    return GiveUp(step, "error " + std::to_string(error));
}

// A request and the connection it was sent on (the request closes first).
struct SentRequest {
    UniqueInternet connection;
    UniqueInternet request;
};

// A GET of address, asking every cache on the way for a fresh answer: a proxy that keeps
// the site's answer for its max-age would go on telling readers of the old version. The
// request names the program (sites behind a common web firewall refuse one without a
// User-Agent, the root handle's), and goes through a request handle of its own, the one
// kind of handle on which the time limits hold for every step. Redirects are not followed
// here: each is looked at first.
std::optional<SentRequest> SendRequest(HINTERNET root, const std::wstring& address,
                                       const Deadline& deadline) {
    UrlParts parts;
    if (const DWORD error = SplitUrl(ToAnsi(address), parts))
        return GiveUp("the address (no http or https address)", error);
    SentRequest sent;
    sent.connection.reset(InternetConnectA(root, parts.host.c_str(), parts.port, nullptr, nullptr,
                                           INTERNET_SERVICE_HTTP, 0, 0));
    if (!sent.connection)
        return GiveUp("InternetConnect", GetLastError());
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_AUTO_REDIRECT |
                        (parts.secure ? INTERNET_FLAG_SECURE : 0);
    sent.request.reset(HttpOpenRequestA(sent.connection.get(), "GET", parts.object.c_str(), nullptr,
                                        nullptr, nullptr, flags, 0));
    if (!sent.request)
        return GiveUp("HttpOpenRequest", GetLastError());
    deadline.LimitSteps(sent.request.get());
    static constexpr char NoCache[] = "Cache-Control: no-cache\r\n";
    if (!HttpSendRequestA(sent.request.get(), NoCache, sizeof NoCache - 1, nullptr, 0))
        return GiveUp("HttpSendRequest", GetLastError());
    return sent;
}

DWORD StatusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                   nullptr);
    return status;
}

// Where a redirect sends the request: its Location, which may be relative to address.
std::wstring RedirectTarget(HINTERNET request, const std::wstring& address) {
    char location[INTERNET_MAX_URL_LENGTH + 1] = {};
    DWORD size = sizeof location;
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location, &size, nullptr))
        return {};
    char target[INTERNET_MAX_URL_LENGTH + 1] = {};
    DWORD length = sizeof target;
    if (!InternetCombineUrlA(ToAnsi(address).c_str(), location, target, &length, ICU_NO_ENCODE))
        return {};
    return FromAnsi(target);
}

// The body of the answer to url with status 200, after the redirects there may be (from
// http to https, never back); nothing when the whole of it does not arrive within the time
// and size limits, or the answer has another status (an error page counts for nothing,
// whatever it says).
std::optional<std::string> DownloadText(const std::wstring& url, unsigned waitedMs) {
    const Deadline deadline(waitedMs);
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0))
        return GiveUp("InternetGetConnectedState (no connection)", GetLastError());
    const std::string agent = "Varnholt/" + ToAnsi(VersionText(true));
    UniqueInternet root(
        InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const DWORD openError = GetLastError();
    DispatchPendingMessages();
    if (!root)
        return GiveUp("InternetOpen", openError);
    deadline.LimitSteps(root.get());
    std::wstring address = url;
    std::optional<SentRequest> sent;
    for (int redirects = 0;; ++redirects) {
        sent = SendRequest(root.get(), address, deadline);
        if (!sent)
            return std::nullopt;
        const DWORD status = StatusOf(sent->request.get());
        if (!IsRedirectStatus(status)) {
            if (status != HTTP_STATUS_OK)
                return GiveUp("the status", std::to_string(status));
            break;
        }
        if (redirects == MaxRedirects)
            return GiveUp("the redirects (more than 5)", ERROR_HTTP_REDIRECT_FAILED);
        const std::wstring target = RedirectTarget(sent->request.get(), address);
        if (!MayFollowRedirect(address, target))
            return GiveUp("a redirect away from https", ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR);
        address = target;
    }
    HINTERNET request = sent->request.get();
    std::string body;
    char buffer[ReadSize];
    DWORD received = 0;
    do {
        DispatchPendingMessages();
        deadline.LimitSteps(request);
        // Only what has arrived: a read of a whole buffer waits until the buffer is full,
        // and a site that sends a byte now and then would keep it for minutes.
        // A body cut off by a failed step is no answer: it may end anywhere.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0))
            return GiveUp("InternetQueryDataAvailable", GetLastError());
        received = 0;
        if (available > 0 &&
            !InternetReadFile(request, buffer, std::min(available, ReadSize), &received))
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
    const std::optional<std::string> received = DownloadText(url, waitedMs);
    if (!received)
        return VersionAnswer::None;
    const std::wstring body = FromAnsi(*received);
    const VersionFileReading reading = ReadVersionFile(body, currentVersion);
    if (reading.latestVersion.empty())
        GiveUp("the version file", "no version number");
    if (body.empty())
        return VersionAnswer::None;
    latestVersion = reading.latestVersion;
    if (setupSize)
        *setupSize = reading.setupSize;
    return reading.result;
}
