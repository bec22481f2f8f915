#pragma once

class QWidget;

// What the tip window needs from the report control it belongs to.
namespace pagelark {

class ReportTipOwner {
  public:
    virtual ~ReportTipOwner() = default;

    // The control's widget: the tip's rectangles are in its coordinates, its
    // font is the default, keys typed while the tip is up are passed to it,
    // and so are mouse events that find no other window under the tip.
    virtual QWidget* TipOwnerWidget() = 0;
};

}  // namespace pagelark
