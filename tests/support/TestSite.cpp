#include "tests/support/TestSite.h"

#include "platform/InternetHandle.h"
#include "tests/support/Process.h"

#include <wincrypt.h>
#include <wininet.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr INTERNET_PORT SitePort = 18080;

// The prefix's Root store, and the test authority's certificate as the test bed wrote it.
struct RootStore {
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    std::ifstream file{"C:\\testsite\\authority.cer", std::ios::binary};
    std::vector<char> der{std::istreambuf_iterator<char>(file), {}};
    PCCERT_CONTEXT authority =
        CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                     static_cast<DWORD>(der.size()));
    ~RootStore() {
        CertFreeCertificateContext(authority);
        CertCloseStore(store, 0);
    }
};

// One request to the site's control interface; false when it does not answer.
bool SiteRequest(const char* verb, const std::string& path, const std::string& body = {},
                 std::string* response = nullptr) {
    UniqueInternet root(InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!root)
        return false;
    UniqueInternet connection(InternetConnectA(root.get(), "127.0.0.1", SitePort, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return false;
    UniqueInternet request(
        HttpOpenRequestA(connection.get(), verb, path.c_str(), nullptr, nullptr, nullptr,
                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request)
        return false;
    DWORD timeout = 3000;
    InternetSetOptionA(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(request.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    if (!HttpSendRequestA(request.get(), nullptr, 0, const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size())))
        return false;
    char buffer[4096];
    DWORD received = 0;
    while (InternetReadFile(request.get(), buffer, sizeof buffer, &received) && received > 0)
        if (response)
            response->append(buffer, received);
    return true;
}

} // namespace

bool ResetTestSite() {
    return SiteRequest("POST", "/_reset");
}

void SetVersionFile(const std::string& programName, const std::string& body, int status) {
    SiteRequest("PUT", "/Rurivur/" + programName + ".js?status=" + std::to_string(status), body);
}

void SetTestSiteMode(const std::string& mode) {
    SiteRequest("POST", "/_mode/" + mode);
}

void PauseTestSite(DWORD ms) {
    SiteRequest("POST", "/_pause?ms=" + std::to_string(ms));
    WaitUntil([] { return !SiteRequest("GET", "/_log"); }, 5000, 100);
}

bool WaitForTestSite(DWORD timeoutMs) {
    return WaitUntil([] { return SiteRequest("GET", "/_log"); }, timeoutMs, 200);
}

std::vector<std::string> TestSiteRequests() {
    std::string text;
    SiteRequest("GET", "/_log", {}, &text);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TrustedTestAuthority::TrustedTestAuthority() {
    const RootStore root;
    if (!CertAddCertificateContextToStore(root.store, root.authority,
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
        throw std::runtime_error("the test authority could not be trusted");
}

TrustedTestAuthority::~TrustedTestAuthority() {
    const RootStore root;
    if (const PCCERT_CONTEXT found = CertFindCertificateInStore(
            root.store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, root.authority, nullptr))
        CertDeleteCertificateFromStore(found); // frees found
    CertControlStore(root.store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
}
