#pragma once

// A window that receives menu commands by their numeric id.
namespace pagelark {

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    virtual void OnCommand(int commandId) = 0;
};

}  // namespace pagelark
