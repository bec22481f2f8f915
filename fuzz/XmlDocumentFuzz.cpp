// A document text and a list of edits from the fuzzer: the text is loaded,
// every element is visited and read, the edits are applied, and the same
// text is loaded as a script file into an item list. Then more edits build a
// document from nothing, as the live store is built, and after each one its
// index must be what a fresh parse of its text finds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/collect/ItemList.h"
#include "engine/collect/MemoryRows.h"
#include "files/ScriptFile.h"
#include "files/XmlDocument.h"

namespace {

void Visit(pagelark::XmlDocument& doc, size_t& budget) {
    while (budget > 0 && doc.FindChildElement()) {
        --budget;
        (void)doc.GetChildText();
        (void)doc.TagName(doc.Child());
        if (doc.EnterChild()) {
            Visit(doc, budget);
            doc.LeaveToParent();
        }
    }
}

// One cursor move, read or edit chosen by the fuzzer.
void Edit(pagelark::XmlDocument& doc, FuzzedDataProvider& input) {
    const std::string word = input.ConsumeRandomLengthString(12);
    switch (input.ConsumeIntegralInRange(0, 13)) {
        case 0:
            doc.FindElement(word);
            break;
        case 1:
            doc.FindChildElement(word);
            break;
        case 2:
            doc.EnterChild();
            break;
        case 3:
            doc.LeaveToParent();
            break;
        case 4:
            doc.AddElement(word, input.ConsumeRandomLengthString(12));
            break;
        case 5:
            doc.AddChildElement(word, input.ConsumeRandomLengthString(12));
            break;
        case 6:
            doc.RemoveElement();
            break;
        case 7:
            doc.SetAttribute(word, input.ConsumeRandomLengthString(12));
            break;
        case 8:
            doc.SetChildText(word);
            break;
        case 9:
            doc.SaveMark(word.c_str());
            break;
        case 10:
            doc.RestoreMark(word.c_str());
            break;
        case 11:
            doc.ResetCursor();
            break;
        case 12:
            (void)doc.GetChildText();
            break;
        case 13:
            doc.SetElementText(input.ConsumeIntegralInRange(0, doc.NextFree()), word);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(100000);

    pagelark::XmlDocument doc;
    doc.Load(text.c_str());
    size_t budget = 100000;
    doc.ResetCursor();
    while (doc.FindElement()) {
        (void)doc.GetElementText(doc.Current());
        Visit(doc, budget);
    }

    doc.ResetCursor();
    doc.FindElement();
    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step)
        Edit(doc, input);
    (void)doc.GetText();

    pagelark::XmlDocument live;
    pagelark::ItemList list;
    pagelark::MemoryRows rows;
    pagelark::LoadScriptText(text, live, list, rows);
    if (rows.GetItemCount() > 0) (void)pagelark::BuildScriptText(live);

    pagelark::XmlDocument built;
    for (int step = 0; step < 256 && input.remaining_bytes() > 0; ++step) {
        Edit(built, input);
        if (!built.IndexMatchesText()) std::abort();
    }
    return 0;
}
