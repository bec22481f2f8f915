// The options list: check boxes flip, radio options exclude their siblings,
// and a value editor keeps its value on Enter and drops it on Esc.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "report/widgets/ReportOptionsCtrl.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

class OptionParent : public ReportParent {
  public:
    int OnReportNotify(NotifyHeader& header) override {
        if (header.code <= RCN_OPTIONCHANGED && header.code >= RCN_OPTIONSELECTED) {
            const OptionNotify& record = RecordOf<OptionNotify>(header);
            seen.push_back({header.code, record.option, record.value});
        }
        return 0;
    }
    struct Seen {
        int code, option, value;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
};

TEST(ReportOptionsCtrlTest, ChecksRadiosAndTheValueEditor) {
    OptionParent parent;
    QWidget window;
    window.resize(300, 200);
    auto* options = new CReportOptionsCtrl(&window);
    options->setGeometry(window.rect());
    options->SetReportParent(&parent);
    const int group = options->AddOption(-1, "Fetch", "");
    const int check = options->AddOption(group, "Follow links", "", 0);
    const int fixed = options->AddOption(group, "Cache", "", 3);
    const int slow = options->AddOption(group, "Slow", "", 5);
    const int fast = options->AddOption(group, "Fast", "", 4);
    const int name =
        options->AddOption(-1, "Agent", "Pagelark", -1, CReportOptionsCtrl::Editor::Edit);
    ASSERT_TRUE(testing::ShowActive(window));
    const auto click = [&](int item) {
        QRect rect;
        ASSERT_EQ(options->GetItemRect(item, 0, rect, CellPart::Cell), 1);
        QTest::mouseClick(options->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    };
    click(check);
    click(fixed);
    click(fast);
    const auto checkOf = [&](int item) {
        ReportItemInfo info;
        info.item = item;
        options->GetItem(info);
        return info.check;
    };
    EXPECT_EQ(checkOf(check), 1);
    EXPECT_EQ(checkOf(fixed), 3);
    EXPECT_EQ(checkOf(slow), 4);
    EXPECT_EQ(checkOf(fast), 5);

    ASSERT_TRUE(options->OpenEditor(name));
    auto* edit = qobject_cast<QLineEdit*>(options->ValueEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->selectedText(), "Pagelark");
    QTest::keyClicks(edit, "Lark");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(options->GetItemText(name, 0), "Agent: Pagelark");
    options->OpenEditor(name);
    QTest::keyClicks(options->ValueEditor(), "Lark");
    QTest::keyClick(options->ValueEditor(), Qt::Key_Return);
    EXPECT_EQ(options->GetItemText(name, 0), "Agent: Lark");
    EXPECT_EQ(parent.seen, (std::vector<OptionParent::Seen>{{RCN_OPTIONCHECKED, check, 1},
                                                            {RCN_OPTIONSELECTED, fast, 3},
                                                            {RCN_OPTIONCHANGED, name, -1}}));
}

}  // namespace
}  // namespace pagelark
