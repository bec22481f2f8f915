#include "engine/suggest/SuggestFilters.h"

#include <gtest/gtest.h>

#include "engine/collect/LinkTable.h"
#include "engine/page/EntryText.h"
#include "engine/suggest/LocateSelection.h"
#include "engine/suggest/PickPage.h"

namespace pagelark {
namespace {

// A proposal as the window makes it, on a page of its own.
struct Picked {
    explicit Picked(std::string_view html) : page(html, "http://h/p.html", links) {}

    Suggestion Words(std::string_view words, int occurrence = 1) const {
        Selection selection;
        selection.words = words;
        selection.occurrence = occurrence;
        return SuggestFilters(page, selection);
    }

    // Every candidate, run again as the worker runs it, gives `result`.
    void ExpectAllGive(const Suggestion& suggestion, std::string_view result) const {
        ASSERT_FALSE(suggestion.candidates.empty()) << suggestion.ProblemText();
        for (const FilterCandidate& candidate : suggestion.candidates)
            EXPECT_EQ(ExtractResult(page.Flat(), candidate.filter).result, result)
                << candidate.filter;
    }

    LinkTable links;
    const PickPage page;
};

TEST(SuggestFilters, StartFoundEarlierInsideALongerWordIsNotTrusted) {
    const Picked picked("<p>SpecialPrice: 3.00 today</p><p>Our Price: 12.50 USD</p>");
    const Suggestion suggestion = picked.Words("12.50");
    picked.ExpectAllGive(suggestion, "12.50 ");
    // "Price:" alone is found first inside "SpecialPrice:".
    EXPECT_EQ(suggestion.candidates.front().filter, "Our#DATA,2#");
}

TEST(SuggestFilters, StartWithoutDigitsBeatsANearerOneWithDigits) {
    const Picked picked("<p>Forecast for Tuesday 8th: sunny spells</p>");
    const Suggestion suggestion = picked.Words("sunny spells");
    picked.ExpectAllGive(suggestion, "sunny spells ");
    EXPECT_EQ(suggestion.candidates.front().filter, "Tuesday#DATA,2,2#");
    EXPECT_TRUE(suggestion.candidates.front().steady);
}

TEST(SuggestFilters, NearClauseWhenEveryStartIsFoundTooEarly) {
    // Each word before the second price occurs before the first one too; the
    // one text that marks the second block lies too far back for P0.
    const std::string block = "<p>x x x x x x x x x x x x Price: ";
    const Picked picked("<h2>Section one</h2>" + block + "3.00</p><h2>Section two</h2>" + block +
                        "12.50 USD</p>");
    const Suggestion suggestion = picked.Words("12.50");
    picked.ExpectAllGive(suggestion, "12.50 ");
    EXPECT_EQ(suggestion.candidates.front().filter, "Price:#DATA,1,1,NEAR two#");
}

TEST(SuggestFilters, WordsThePageJoinsOrSplitsAreGivenAsSelected) {
    // A line break in the source joins "on" and "Tuesday" in the flattened
    // text, a tag splits "Weather"; "&amp;" stays as written.
    const Picked picked(
        "<p>The council met on\nTuesday to discuss Wea<b>ther</b> &amp; roads. It&#8217;s "
        "late</p>");
    picked.ExpectAllGive(picked.Words("Tuesday to"), "Tuesday to ");
    picked.ExpectAllGive(picked.Words("council met on"), "council met on ");
    picked.ExpectAllGive(picked.Words("Weather & roads."), "Wea ther &amp; roads. ");
    picked.ExpectAllGive(picked.Words("It\u2019s late"), "It&#8217;s late ");
}

TEST(SuggestFilters, WordsWithHashOrCommaAreGiven) {
    const Picked picked("<h1>Courses</h1><p>Learn C# fast, with 12 lessons, today</p>");
    picked.ExpectAllGive(picked.Words("C# fast, with"), "C# fast, with ");
    picked.ExpectAllGive(picked.Words("12 lessons"), "12 lessons ");
}

TEST(SuggestFilters, PlaceIsTheShownOneAndTheOneTheTextBeforeNames) {
    const Picked picked(
        "<html><head><title>Blue kettle</title><script>var p = 'Blue kettle';</script></head>"
        "<body><p>Our pick: Blue kettle</p><div class=menu>Home Blue kettle</div>"
        "<p>Sale: Blue kettle</p></body></html>");
    // The title and the script are not shown: the first place is the body's.
    EXPECT_EQ(picked.Words("Blue kettle").candidates.front().filter, "pick:#DATA,1,2#");

    Selection selection;
    selection.words = "Blue kettle";
    const std::string before = "Our pick: Blue kettle Sale:";  // a style sheet hides the menu
    selection.shownBefore = before;
    const Suggestion suggestion = SuggestFilters(picked.page, selection);
    ASSERT_FALSE(suggestion.candidates.empty());
    EXPECT_EQ(suggestion.candidates.front().filter, "Sale:#DATA,1,2#");
    EXPECT_EQ(SelectionOccurrence(before, "Blue kettle"), 2);
}

TEST(SuggestFilters, HrefGathersExactlyTheSelectedLinks) {
    const Picked picked(
        "<h2>Headlines</h2><ul><li><a href=a>Bridge opens over the river</a></li>"
        "<li><a href=b>Library extends its hours</a></li><li><a href=i><img src=x></a>"
        "<a href=c>Rain</a></li><li><a href=d>Market moves to the square</a></li>"
        "<li><a href=e>Rowing club wins the final</a></li></ul><p>More news</p>");
    Selection selection;
    selection.words = "Library extends its hours Rain Market moves to the square";
    selection.links = true;
    const Suggestion suggestion = SuggestFilters(picked.page, selection);
    ASSERT_FALSE(suggestion.candidates.empty()) << suggestion.ProblemText();
    for (const FilterCandidate& candidate : suggestion.candidates) {
        const Extraction extraction = ExtractResult(picked.page.Flat(), candidate.filter);
        EXPECT_EQ(extraction.result, "3 Items Found") << candidate.filter;
        std::vector<std::string> markers;
        for (const EntryPiece& piece : SplitEntries(extraction.entries))
            markers.push_back(piece.marker);
        // The image link between them has no text and is not gathered.
        EXPECT_EQ(markers, (std::vector<std::string>{"__A1;", "__A3;", "__A4;"}))
            << candidate.filter;
        EXPECT_NE(candidate.filter.find("#HREF,3,4"), std::string::npos) << candidate.filter;
    }
}

TEST(SuggestFilters, SelectionsNoFilterCanGiveSayWhy) {
    const Picked picked("<p>Opening words of the page</p><p>Price: 12.50 USD</p>");
    const struct {
        std::string words;
        int occurrence;
        bool links;
        PickProblem problem;
    } cases[] = {
        {"Opening words", 1, false, PickProblem::NothingBefore},
        {"Zebra", 1, false, PickProblem::NotOnPage},
        {"12.50", 2, false, PickProblem::FewerPlaces},
        {" \t ", 1, false, PickProblem::NoWords},
        {"12.50 USD", 1, true, PickProblem::NoLinks},
    };
    for (const auto& c : cases) {
        Selection selection;
        selection.words = c.words;
        selection.occurrence = c.occurrence;
        selection.links = c.links;
        const Suggestion suggestion = SuggestFilters(picked.page, selection);
        EXPECT_TRUE(suggestion.candidates.empty()) << c.words;
        EXPECT_EQ(suggestion.problem, c.problem) << c.words;
        EXPECT_FALSE(suggestion.ProblemText().empty());
    }

    // The list shows 128 bytes of a Result: 16 words of 7 bytes fit (the
    // blank after the last may be cut), 17 do not.
    std::string words;
    for (int i = 10; i < 27; ++i)
        words += "word" + std::to_string(i) + "x ";
    const Picked longPage("<p>Start " + words + "</p>");
    longPage.ExpectAllGive(longPage.Words(words.substr(0, 16 * 8)), words.substr(0, 16 * 8));
    const Suggestion tooLong = longPage.Words(words);
    EXPECT_EQ(tooLong.problem, PickProblem::TooLong);
    EXPECT_EQ(tooLong.ProblemText(),
              "The selected words take 135 bytes; a Result holds at most 128.");
}

}  // namespace
}  // namespace pagelark
