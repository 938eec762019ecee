#pragma once
// The entries of the item list's pop-up menu that an item offers. Items fill it; the menu
// shows what is set.

namespace quill {

struct ActionMenu {
    bool open = true;
    bool sendMail = false;
    bool sendFax = false;
    bool dial = false;
    bool browse = false;
    bool advanceDate = false;
    bool launch = false;

    void HideAll() { *this = ActionMenu{false, false, false, false, false, false, false}; }
    friend bool operator==(const ActionMenu&, const ActionMenu&) = default;
};

} // namespace quill
