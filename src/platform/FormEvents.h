#pragma once
// What the control's form reports to the control: its own notifications, besides those of
// its tree view (ITreeEvents).
namespace ramvel {

class IFormEvents {
public:
    virtual ~IFormEvents() = default;
    // The focus entered this form while the module's focused form was another one, or none.
    virtual void FormActivated() = 0;
    // The focus left this form for another form of the module.
    virtual void FormDeactivated() = 0;
    // A click or double click on the form's own surface (not on the tree view).
    virtual void FormClicked() = 0;
    virtual void FormDoubleClicked() = 0;
    // A character typed while the form itself has the focus; 0 on return cancels it.
    virtual void FormKeyPressed(char16_t& key) = 0;
    // The form painted its own surface.
    virtual void FormPainted() = 0;
};

}  // namespace ramvel
