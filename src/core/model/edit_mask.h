#pragma once
// Edit masks of the phone-number formats, in the masked-edit notation: "0" a required digit,
// "9" an optional digit, "\" makes the next character a literal, any other character is a
// literal; a leading "!" keeps unfilled optional positions at the start of the value
// instead of the end; after the mask, ";0" says the literals are not part of the entered
// value (";1": they are) and ";_" names the character shown in positions not yet filled.
// Pure logic: the number box of the editors stays a thin widget over it.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct PhoneFormat {
    std::string_view name;
    std::string_view mask; // empty: free format, no mask
};

// The eleven formats of the editors' format lists, in list order.
std::span<const PhoneFormat> PhoneFormats();
inline constexpr std::size_t kUsaPhoneFormat = 0;
inline constexpr std::size_t kFreePhoneFormat = 1;

class TEditMask {
public:
    enum class Slot { Literal, RequiredDigit, OptionalDigit };

    // An empty text is no mask: every text is taken as it is.
    explicit TEditMask(std::string_view text = {});

    bool HasMask() const { return !positions_.empty(); }
    // Positions of the displayed text, one character each.
    std::size_t Length() const { return positions_.size(); }
    Slot SlotAt(std::size_t position) const { return positions_[position].slot; }
    char LiteralAt(std::size_t position) const { return positions_[position].literal; }
    bool LeadingBlanks() const { return leadingBlanks_; }
    bool SavesLiterals() const { return savesLiterals_; }
    char Blank() const { return blank_; }

    // Whether the character may stand in the position (digits in digit positions).
    bool Accepts(std::size_t position, char c) const;
    // The displayed text before anything is typed: literals, and blanks everywhere else.
    std::string EmptyText() const;
    // The displayed text after typing the characters in order into the empty mask (Type
    // from the start). Positions left are blanks.
    std::string Apply(std::string_view typed) const;

    // A displayed text being edited, one character per position, and the cursor in it.
    struct Editing {
        std::string text;
        std::size_t cursor = 0;
    };
    // One character typed as in a masked edit: it overwrites the position at the cursor. A
    // character equal to the literal there steps over it; otherwise the literals ahead are
    // passed and a digit fills the next digit position. A cursor in the blanks behind the
    // number types at the number's end, so typing leaves no gap. False, and nothing
    // changes, for a character refused.
    bool Type(Editing& editing, char c) const;
    // Blanks the digit positions from `from` up to `to` (literals stay); the cursor goes to
    // `from`.
    void Erase(Editing& editing, std::size_t from, std::size_t to) const;
    // Backspace blanks the digit position before the cursor, passing literals, and the
    // cursor goes to it; Delete blanks the one at or after the cursor, which stays.
    void EraseBefore(Editing& editing) const;
    void EraseAfter(Editing& editing) const;
    // Behind the last filled digit position: 0 when none is filled.
    std::size_t FilledEnd(std::string_view displayed) const;
    // The entered value of a displayed text: the blanks removed and, unless the mask saves
    // them, the literals too. Without a mask the text itself.
    std::string Value(std::string_view displayed) const;
    // The displayed text as it is kept: the positions not filled are left out, and so are the
    // literals behind the last filled one, so no blank ever reaches a stored number. Without
    // a mask the text itself.
    std::string Filled(std::string_view displayed) const;
    // A number counts as entered when its value holds at least one character.
    bool IsEntered(std::string_view displayed) const { return !Value(displayed).empty(); }

private:
    struct Position {
        Slot slot;
        char literal;
    };
    std::vector<Position> positions_;
    bool leadingBlanks_ = false;
    bool savesLiterals_ = true;
    char blank_ = '_';
};

} // namespace quill
