#include "engine/fetch/PageFetch.h"

#include "engine/fetch/FetchError.h"
#include "engine/fetch/FetchPage.h"
#include "engine/fetch/InternetFile.h"
#include "engine/fetch/InternetSession.h"
#include "engine/fetch/PageCharset.h"
#include "engine/page/TextBytes.h"

namespace pagelark {
namespace {

// Host and port of a URL as written, in one letter case.
std::string HostKeyOf(const UrlParts& url) {
    const size_t start = url.url.find("://");
    if (start == std::string::npos) return ToUpperAscii(url.host);
    const size_t end = url.url.find_first_of("/?#", start + 3);
    std::string authority = url.url.substr(start + 3, end - start - 3);
    if (const size_t at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
    return ToUpperAscii(authority);
}

}  // namespace

PageFetch::PageFetch(InternetSession& session, std::string_view url)
    : m_session(session), m_url(SplitUrl(url)), m_hostKey(HostKeyOf(m_url)) {}

PageFetch::~PageFetch() = default;

void PageFetch::Go() {
    if (!m_waiting || Done()) return;
    m_waiting = false;
    Send();
}

void PageFetch::Send() {
    try {
        switch (m_next) {
            case Next::Begin:
                if (m_url.host.empty()) {  // nothing is sent
                    m_failure = {FetchProblem::NoHost, 0, {}};
                    m_stage = Stage::Failed;
                    return;
                }
                m_file = std::make_unique<InternetFile>(m_session, m_url);
                m_file->Begin();
                break;
            case Next::Follow:
                m_file->Follow(m_nextUrl);
                break;
            case Next::Resend:
                m_file->Resend();
                break;
        }
    } catch (const FetchError& error) {
        m_failure = error.Failure();
        m_file.reset();
        m_stage = Stage::Failed;
    }
}

void PageFetch::Then(Next next, std::string url) {
    m_next = next;
    m_nextUrl = std::move(url);
    std::string host = HostKeyOf(SplitUrl(m_nextUrl));
    if (host == m_hostKey) {
        Send();
        return;
    }
    m_hostKey = std::move(host);
    m_waiting = true;
}

bool PageFetch::Step() {
    if (Done() || m_waiting || !m_file->Finished()) return Done();
    try {
        if (std::string target = m_file->RedirectTarget(); !target.empty()) {
            Then(Next::Follow, std::move(target));
            return Done();
        }
        if (m_stage == Stage::First && m_file->IsHttp()) {
            m_file->ThrowIfNoAnswer();
            // Refused for want of a colon; the request goes out without it,
            // as it always has.
            constexpr const char* kExtraHeader = "Pagelark";
            (void)m_file->AddRequestHeaders(kExtraHeader);
            m_stage = Stage::Second;
            Then(Next::Resend, m_url.url);
            return Done();
        }
        m_file->ThrowIfFailed();
        Finish();
    } catch (const FetchError& error) {
        m_failure = error.Failure();
        m_stage = Stage::Failed;
    }
    // Done: the connection goes now, not when the page is taken.
    m_file.reset();
    return true;
}

void PageFetch::Finish() {
    const std::string& body = m_file->Body();
    m_text = DecodePage(body, m_file->ContentType(), kConvertedPageBytes, m_file->BodyCut());
    m_status = m_file->Status();
    m_cut = m_file->BodyCut();
    m_stage = Stage::Done;
}

}  // namespace pagelark
