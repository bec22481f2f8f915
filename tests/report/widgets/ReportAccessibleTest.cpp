// What a screen reader learns of the list through QAccessible.

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/FlatHeaderCtrl.h"
#include "report/widgets/ReportCtrl.h"
#include "tests/support/GuiTestSupport.h"

namespace pagelark {
namespace {

TEST(ReportAccessibleTest, RowsCaptionsCellsAndTheSelection) {
    QWidget window;
    window.resize(400, 200);
    auto* list = new CReportCtrl(&window);
    list->setGeometry(window.rect());
    list->SetImageMeanings({"", "Ready", "Done"});
    const char* captions[] = {"Name", "Result", "Last Update"};
    for (int n = 0; n < 3; ++n) {
        SubItemDef def;
        def.format = HDF_STRING;
        def.width = 120;
        def.text = captions[n];
        list->DefineSubItem(n, def);
        list->ActivateSubItem(n, n);
    }
    for (int item = 0; item < 5; ++item) {
        ReportItemInfo info;
        info.mask = RIF_IMAGE;
        info.item = item;
        info.image = 1 + item % 2;
        list->InsertItem(info);
        list->SetItemText(item, 0, "Item " + std::to_string(item));
        list->SetItemText(item, 1, "Result " + std::to_string(item));
    }
    window.show();

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* rows = table->tableInterface();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->rowCount(), 5);
    ASSERT_EQ(rows->columnCount(), 3);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(rows->columnDescription(column), captions[column]);
    QAccessibleInterface* header = QAccessible::queryAccessibleInterface(list->GetHeaderCtrl());
    ASSERT_EQ(header->childCount(), 3);
    EXPECT_EQ(header->child(1)->text(QAccessible::Name), "Result");

    EXPECT_EQ(rows->cellAt(3, 0)->text(QAccessible::Name), "Item 3");
    EXPECT_EQ(rows->cellAt(3, 1)->text(QAccessible::Name), "Result 3");
    EXPECT_EQ(rows->cellAt(3, 2)->text(QAccessible::Name), "");
    EXPECT_EQ(rows->cellAt(3, 0)->text(QAccessible::Description), "Done");
    EXPECT_EQ(rows->cellAt(3, 0)->tableCellInterface()->columnHeaderCells().value(0)->text(
                  QAccessible::Name),
              "Name");

    QRect cell;
    ASSERT_EQ(list->GetItemRect(2, 1, cell, CellPart::Cell), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(rows->selectedRows(), QList<int>{2});
    ASSERT_EQ(list->GetItemRect(4, 1, cell, CellPart::Cell), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, cell.center());
    EXPECT_EQ(rows->selectedRows(), (QList<int>{2, 3, 4}));
    EXPECT_TRUE(rows->cellAt(2, 1)->state().selected);  // selected, though the focus is on 4
    EXPECT_FALSE(rows->cellAt(1, 1)->state().selected);
}

}  // namespace
}  // namespace pagelark
