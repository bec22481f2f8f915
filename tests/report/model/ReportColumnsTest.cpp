#include "tests/report/model/HeaderContract.h"

namespace pagelark {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(MemoryHeader, HeaderContract, MemoryHeader);

using Columns = ReportFixture;

TEST_F(Columns, AColumnTheHeaderCannotTakeIsNotActivated) {
    SubItemDef def;
    def.text = "Result";
    model.DefineSubItem(0, def);
    model.DefineSubItem(1, def);
    ASSERT_EQ(model.ActivateSubItem(0, 0), 0);
    header.FailNextInsert();
    EXPECT_EQ(model.ActivateSubItem(1, 0), -1);
    EXPECT_EQ(header.GetItemCount(), 1);
    EXPECT_FALSE(model.IsActiveSubItem(1));
}

}  // namespace
}  // namespace pagelark
