// The report model's columns through the window's flat header.

#include "controls/FlatHeaderCtrl.h"
#include "tests/report/model/HeaderContract.h"

namespace pagelark {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(FlatHeader, HeaderContract, CFlatHeaderCtrl);

using FlatHeaderColumns = HeaderContract<CFlatHeaderCtrl>;

TEST_F(FlatHeaderColumns, AColumnFittedToItsCaptionTakesTheHeadersContentWidth) {
    SubItemDef def;
    def.format = HDF_STRING | 0x10000;
    def.width = 50;
    def.text = "Result";
    model.DefineSubItem(0, def);
    ASSERT_EQ(model.ActivateSubItem(0, 0), 0);
    EXPECT_EQ(model.GetSubItemWidth(0), header.ContentWidth(0, false));
    EXPECT_EQ(model.Columns().Extent(), header.ContentWidth(0, false));
}

}  // namespace
}  // namespace pagelark
