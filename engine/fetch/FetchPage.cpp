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
        // One page alone: every request may go at once.
        while (!fetch.Done()) {
            if (fetch.Waiting()) {
                fetch.Go();
                continue;
            }
            session.Turn();
            fetch.Step();
        }
        if (!fetch.Ok()) return false;
        page = fetch.TakeText();
        return true;
    } catch (const FetchError&) {
        return false;
    }
}

}  // namespace pagelark
