#include "engine/net/CurlTransfer.h"

#include <curl/curl.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>

#include "engine/net/HttpLimits.h"
#include "engine/net/Utf8ChunkDecoder.h"
#include "engine/text/AnsiCodec.h"

namespace {

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TransferState {
    CURL* curl = nullptr;
    const TransferRequest* request = nullptr;
    HttpLimits limits;
    Utf8ChunkDecoder decoder;
    QString* body = nullptr;
    QString* cookies = nullptr;
    std::size_t keptBytes = 0;
    bool capped = false;
    bool refused = false;  // status other than 200 where only 200 is kept
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
    bool stalled = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    state->lastActivity = std::chrono::steady_clock::now();
    if (state->request->keepOnlyStatus200) {
        long status = 0;
        curl_easy_getinfo(state->curl, CURLINFO_RESPONSE_CODE, &status);
        if (status != 200) {
            state->refused = true;
            return 0;  // ends the transfer; nothing is kept
        }
    }
    size_t take = bytes;
    if (state->keptBytes + take > state->limits.maxBodyBytes) {
        take = state->limits.maxBodyBytes - state->keptBytes;
        state->capped = true;
    }
    if (state->request->rawBody != nullptr)
        state->request->rawBody->append(data, static_cast<qsizetype>(take));
    else
        state->decoder.append(data, take, *state->body);
    state->keptBytes += take;
    return state->capped ? 0 : bytes;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    state->lastActivity = std::chrono::steady_clock::now();
    QByteArray line(data, static_cast<qsizetype>(bytes));
    if (line.startsWith("HTTP/")) {
        // A new response (after a redirect or an interim answer): only the final one counts.
        if (state->cookies != nullptr) state->cookies->clear();
        return bytes;
    }
    static constexpr char kSetCookie[] = "set-cookie:";
    if (state->cookies != nullptr && line.size() > 11 &&
        line.first(11).toLower() == QByteArrayView(kSetCookie)) {
        const QByteArray value = line.sliced(11).trimmed();
        if (!value.isEmpty()) state->cookies->append(FromAnsi(value));
    }
    return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* state = static_cast<TransferState*>(user);
    if (state->request->cancel != nullptr && state->request->cancel->load()) return 1;
    const auto idle = std::chrono::steady_clock::now() - state->lastActivity;
    if (idle > std::chrono::milliseconds(state->limits.stallTimeoutMs)) {
        state->stalled = true;
        return 1;
    }
    return 0;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

const QByteArray& AgentName() {
    static const QByteArray name = [] {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error) return QByteArray("Quimb");
        return QByteArray::fromStdString(exe.stem().string());
    }();
    return name;
}

TransferResult PerformTransfer(const TransferRequest& request, QString& body, QString* cookies) {
    GlobalInit();
    TransferResult result;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        result.code = CURLE_FAILED_INIT;
        result.error = curl_easy_strerror(CURLE_FAILED_INIT);
        return result;
    }
    TransferState state;
    state.curl = curl.get();
    state.request = &request;
    state.limits = request.limits != nullptr ? *request.limits : HttpLimits{};
    state.body = &body;
    state.cookies = cookies;

    curl_slist* list = nullptr;
    for (const QByteArray& header : request.headers) {
        curl_slist* appended = curl_slist_append(list, header.constData());
        if (appended == nullptr) break;
        list = appended;
    }
    const std::unique_ptr<curl_slist, SlistDeleter> headers(list);

    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, request.url.constData());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    // HTTPS verifies the peer against the system's CA store (libcurl's default).
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, AgentName().constData());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, state.limits.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, state.limits.totalTimeoutMs);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &state);
    if (request.http10) curl_easy_setopt(h, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    if (request.post) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.postBody.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.postBody.constData());
    }
    if (headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());

    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
    state.decoder.finish(body);
    if (state.refused) {
        body.clear();
        if (request.rawBody != nullptr) request.rawBody->clear();
    }
    if (code != CURLE_OK && !state.capped && !state.refused) {
        result.code = code;
        if (state.stalled) {
            result.code = CURLE_OPERATION_TIMEDOUT;
            result.error = "Operation timed out: no data received for " +
                           std::to_string(state.limits.stallTimeoutMs) + " ms";
        } else {
            result.error = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
        }
    }
    return result;
}
