#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "report/model/ReportModel.h"
#include "tests/report/model/MemoryHeader.h"

namespace pagelark {

// Records every notification and answers through a replaceable function.
class RecordingParent : public ReportParent {
  public:
    struct Seen {
        int code;
        int item;
        int subItem;
        uint32_t keys;
        uint32_t state;
        int param;
    };

    int OnReportNotify(NotifyHeader& header) override {
        if (header.code == RCN_GETDISPINFO)
            return dispInfo ? dispInfo(RecordOf<DispInfoNotify>(header).info) : 0;
        const ReportNotify& r = RecordOf<ReportNotify>(header);
        seen.push_back({header.code, r.item, r.subItem, r.keys, r.state, r.param});
        return answer ? answer(r) : 0;
    }
    std::vector<Seen> Codes(int code) const {
        std::vector<Seen> out;
        for (const Seen& s : seen)
            if (s.code == code) out.push_back(s);
        return out;
    }

    std::vector<Seen> seen;
    std::function<int(const ReportNotify&)> answer;
    std::function<int(ReportItemInfo&)> dispInfo;
};

// A model with a header (the in-memory one unless a test brings another) and a
// parent.
template <typename Header>
class BasicReportFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        model.SetHeader(&header);
        model.SetParent(&parent, nullptr, 1011);
        model.SetConsistencyCheck(FailTest);
    }
    // Every public operation ends with the model's own check of its marks and order.
    static void FailTest(const std::string& fault) { ADD_FAILURE() << fault; }
    void DefineColumns(int count = 4) {
        for (int n = 0; n < count; ++n) {
            SubItemDef def;
            def.format = HDF_STRING;
            def.width = 100;
            def.text = "Column " + std::to_string(n);
            ASSERT_EQ(model.DefineSubItem(n, def), n);
            ASSERT_EQ(model.ActivateSubItem(n, n), n);
        }
    }
    // Appends one row per text, the text in subitem `subItem`, data = 100 + index.
    void AddRows(const std::vector<std::string>& texts, int subItem = 0) {
        for (const std::string& text : texts) {
            ReportItemInfo info;
            info.mask = RIF_TEXT | RIF_PARAM;
            info.item = model.GetItemCount();
            info.subItem = subItem;
            info.text = const_cast<char*>(text.c_str());
            info.param = 100 + info.item;
            ASSERT_EQ(model.InsertItem(info), info.item);
        }
    }
    std::vector<std::string> DisplayedTexts(int subItem = 0) {
        std::vector<std::string> out;
        for (int row = 0; row < model.GetRowCount(); ++row)
            out.push_back(model.GetItemText(model.GetItemFromRow(row), subItem));
        return out;
    }
    std::vector<int> SelectionOrder() const {
        return {model.Selection().Items().begin(), model.Selection().Items().end()};
    }

    Header header;
    RecordingParent parent;
    ReportModel model;
};

using ReportFixture = BasicReportFixture<MemoryHeader>;

}  // namespace pagelark
