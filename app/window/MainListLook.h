#pragma once

#include <array>
#include <cstdint>

#include "controls/FlatHeaderCtrl.h"
#include "controls/platform/ImageList.h"
#include "report/model/ReportConstants.h"
#include "report/widgets/ReportCtrl.h"

// The main list's columns and look, stated once. The window builds its list
// from them; the demo, the tests and the bench build the same list.
namespace pagelark {

struct MainListColumn {
    int caption;          // string id
    const char* english;  // the caption where no string table is at hand
    uint32_t format;
    int width;  // 0: the Result column, which takes what the others leave
};

// The State column shows the header's image 0 instead of its caption.
inline constexpr uint32_t kStateColumnFormat =
    HDF_IMAGE | RCF_FIXEDWIDTH | RCF_SORTTIP | RCF_IMAGESPACE | RCF_NOFOCUS;
inline constexpr uint32_t kTextColumnFormat = HDF_STRING | RCF_SORTTIP;

inline constexpr std::array<MainListColumn, 4> kMainListColumns{{
    {112, "State", kStateColumnFormat, 30},
    {113, "Name", kTextColumnFormat, 150},
    {114, "Result", kTextColumnFormat, 0},
    {115, "Last Update", kTextColumnFormat, 80},
}};
inline constexpr int kResultColumn = 2;
inline constexpr int kLastUpdateColumn = 3;
// The Result column is the list's client width less this.
inline constexpr int kResultWidthAllowance = 280;

// Every column's alternate row colour: a pale yellow.
inline constexpr uint32_t kAlternateRowColour = 0xEEFFFF;
inline constexpr uint32_t kMainListStyle =
    RCS_SHOWSELALWAYS | RCS_ALTROWCOLOR | RCS_HGRID | RCS_CELLTIPS;
inline constexpr int kStateImageStrip = 131;
inline constexpr int kListPicture = 134;
inline constexpr int kHeaderTooltips = 6;  // the header property that switches its tips on

// The window's own picture for a row that has had no good Result for some
// runs in a row; it stands in for Done or Failed until a good Result comes.
inline constexpr int kAttentionImage = 8;

// The row states' names, by image index, for the accessibility tree.
inline std::vector<QString> StateMeanings() {
    return {"", "Ready", "Done", "Working", "Disabled", "Failed", "", "", "Needs attention"};
}

// The row colours, the header's tips, the style and the background picture.
inline void StyleMainList(CReportCtrl& list) {
    for (int position = 0; position < 4; ++position)
        list.InsertColor(position, kAlternateRowColour);
    list.GetHeaderCtrl()->SetProperty(kHeaderTooltips, 1);
    list.ModifyReportStyle(0, kMainListStyle);
    list.SetBkImage(kListPicture);
}

// Gives a new list the main list's look with English captions: the state
// images (which `images` keeps), the four columns and StyleMainList.
inline void SetUpMainList(CReportCtrl& list, ImageList& images, int resultWidth) {
    images.Create(kStateImageStrip, 16);
    list.SetImageList(&images);
    list.SetImageMeanings(StateMeanings());
    for (int n = 0; n < static_cast<int>(kMainListColumns.size()); ++n) {
        SubItemDef def;
        def.format = kMainListColumns[n].format;
        def.width = n == kResultColumn ? resultWidth : kMainListColumns[n].width;
        def.text = kMainListColumns[n].english;
        list.DefineSubItem(n, def);
        list.ActivateSubItem(n, n);
    }
    StyleMainList(list);
}

}  // namespace pagelark
