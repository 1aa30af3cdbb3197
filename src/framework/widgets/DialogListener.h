// DialogListener: what a modal dialog reports to its owner about its buttons.
#pragma once

namespace Orvane {

class DialogListener {
public:
    virtual ~DialogListener() = default;

    virtual void DialogButtonPress(int dialogId, int buttonId) {
        (void)dialogId;
        (void)buttonId;
    }
    virtual void DialogButtonDepress(int dialogId, int buttonId) {
        (void)dialogId;
        (void)buttonId;
    }
};

}  // namespace Orvane
