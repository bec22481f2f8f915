#include "engine/fetch/FetchPage.h"

#include "engine/fetch/FetchError.h"
#include "engine/fetch/InternetSession.h"
#include "engine/fetch/PageFetch.h"

namespace pagelark {

bool FetchPage(std::string_view url, std::string& page, const std::function<bool()>& cancelled,
               const FetchSettings& settings) {
    try {
        InternetSession session(kAgent, settings, cancelled);
        PageFetch fetch(session, url);
        fetch.Begin();
        while (!fetch.Step())
            session.Turn();
        if (!fetch.Ok()) return false;
        page = fetch.TakeText();
        return true;
    } catch (const FetchError&) {
        return false;
    }
}

}  // namespace pagelark
