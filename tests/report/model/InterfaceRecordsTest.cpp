// A parent reads the records by their layout: the fields must stay in their
// documented order, and the numbers 32 bits wide. Checked when this compiles.
#include <cstddef>
#include <cstdint>

#include "report/model/ReportNotify.h"

namespace pagelark {
namespace {

template <size_t N>
constexpr bool InOrder(const size_t (&offsets)[N]) {
    for (size_t i = 1; i < N; ++i)
        if (offsets[i] <= offsets[i - 1]) return false;
    return true;
}

constexpr size_t kItemInfo[] = {
    offsetof(ReportItemInfo, mask),    offsetof(ReportItemInfo, item),
    offsetof(ReportItemInfo, subItem), offsetof(ReportItemInfo, text),
    offsetof(ReportItemInfo, textMax), offsetof(ReportItemInfo, textColor),
    offsetof(ReportItemInfo, image),   offsetof(ReportItemInfo, check),
    offsetof(ReportItemInfo, bkColor), offsetof(ReportItemInfo, previewHeight),
    offsetof(ReportItemInfo, indent),  offsetof(ReportItemInfo, state),
    offsetof(ReportItemInfo, param),   offsetof(ReportItemInfo, overlay)};
static_assert(InOrder(kItemInfo));
constexpr ReportItemInfo kInfo;
static_assert(sizeof kInfo.mask == 4 && sizeof kInfo.item == 4 && sizeof kInfo.subItem == 4 &&
              sizeof kInfo.textMax == 4 && sizeof kInfo.textColor == 4 && sizeof kInfo.image == 4 &&
              sizeof kInfo.check == 4 && sizeof kInfo.bkColor == 4 &&
              sizeof kInfo.previewHeight == 4 && sizeof kInfo.indent == 4 &&
              sizeof kInfo.state == 4 && sizeof kInfo.param == 4 && sizeof kInfo.overlay == 4);

constexpr size_t kHeader[] = {offsetof(NotifyHeader, window), offsetof(NotifyHeader, controlId),
                              offsetof(NotifyHeader, code)};
static_assert(InOrder(kHeader));

constexpr size_t kNotify[] = {offsetof(ReportNotify, header),   offsetof(ReportNotify, keys),
                              offsetof(ReportNotify, point.x),  offsetof(ReportNotify, point.y),
                              offsetof(ReportNotify, hitFlags), offsetof(ReportNotify, treeNode),
                              offsetof(ReportNotify, item),     offsetof(ReportNotify, subItem),
                              offsetof(ReportNotify, state),    offsetof(ReportNotify, param)};
static_assert(InOrder(kNotify) && kNotify[0] == 0);

constexpr size_t kPreview[] = {
    offsetof(PreviewNotify, header),      offsetof(PreviewNotify, reserved),
    offsetof(PreviewNotify, item),        offsetof(PreviewNotify, state),
    offsetof(PreviewNotify, context),     offsetof(PreviewNotify, rect.left),
    offsetof(PreviewNotify, rect.top),    offsetof(PreviewNotify, rect.right),
    offsetof(PreviewNotify, rect.bottom), offsetof(PreviewNotify, param)};
static_assert(InOrder(kPreview) && kPreview[0] == 0);

constexpr size_t kEdit[] = {offsetof(EditNotify, header), offsetof(EditNotify, reserved),
                            offsetof(EditNotify, item),   offsetof(EditNotify, subItem),
                            offsetof(EditNotify, flags),  offsetof(EditNotify, editor),
                            offsetof(EditNotify, rect),   offsetof(EditNotify, key),
                            offsetof(EditNotify, text),   offsetof(EditNotify, param)};
static_assert(InOrder(kEdit) && kEdit[0] == 0);

constexpr size_t kDispInfo[] = {offsetof(DispInfoNotify, header), offsetof(DispInfoNotify, info)};
static_assert(InOrder(kDispInfo) && kDispInfo[0] == 0);

constexpr size_t kCustomDraw[] = {
    offsetof(CustomDrawNotify, header), offsetof(CustomDrawNotify, info),
    offsetof(CustomDrawNotify, context), offsetof(CustomDrawNotify, rect)};
static_assert(InOrder(kCustomDraw) && kCustomDraw[0] == 0);

constexpr size_t kOption[] = {offsetof(OptionNotify, header), offsetof(OptionNotify, parentOption),
                              offsetof(OptionNotify, option), offsetof(OptionNotify, value)};
static_assert(InOrder(kOption) && kOption[0] == 0);

}  // namespace
}  // namespace pagelark
