#pragma once

#include "report/model/ReportNotify.h"

namespace pagelark {

// The window that receives the report control's notifications. The answer
// matters for the codes with veto semantics: non-zero stops the control's own
// handling.
class ReportParent {
  public:
    virtual ~ReportParent() = default;
    virtual int OnReportNotify(NotifyHeader& record) = 0;
};

}  // namespace pagelark
