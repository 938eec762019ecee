#pragma once
// The envelope: its five sizes, where the two addresses go on each, the delivery address
// filled in from the selected item, and the return address kept in "ret_addr.dat".

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;

inline constexpr std::string_view kReturnAddressFile = "ret_addr.dat";
// The envelope prints landscape with this left margin (hundredths of an inch).
inline constexpr int kEnvelopeLeftMargin = 30;
// The return address sits this far above the delivery address.
inline constexpr int kReturnAboveDelivery = 122;

enum class EnvelopeSize { No10, Monarch, B5, C5, DL };

struct EnvelopeSizeInfo {
    EnvelopeSize size;
    std::string_view listText;  // as the size list shows it
    std::string_view shortName; // "#10", "Monarch", "B5", "C5", "DL"
    // The terms of the placement: delivery top (H - heightTerm) div 2 + 152, delivery left
    // W - deliveryTerm, return left W - returnTerm.
    int heightTerm;
    int deliveryTerm;
    int returnTerm;
};

// The five sizes in list order.
std::span<const EnvelopeSizeInfo> EnvelopeSizes();
const EnvelopeSizeInfo& EnvelopeSizeOf(EnvelopeSize size);
// The size of that short name or list text; none for any other.
const EnvelopeSizeInfo* FindEnvelopeSize(std::string_view name);

// Memo corners in hundredths of an inch, measured from the report's printable page (the
// sheet in landscape less the left margin), as the report places its bands.
struct EnvelopePlacement {
    int deliveryTop = 0;
    int deliveryLeft = 0;
    int returnTop = 0;
    int returnLeft = 0;
};
// H and W: the printable page's height and width in landscape, in hundredths of an inch;
// divisions round toward zero.
EnvelopePlacement PlaceEnvelope(EnvelopeSize size, int pageHeight, int pageWidth);

// The delivery address for an address item (or none) and a name: the name when not empty,
// each street line that is not empty, then always city + ", " + state and postal code + " "
// + country. No address: no lines.
std::vector<std::string> DeliveryLines(const TNRBObject* address, std::string_view name);

// What the envelope is addressed to when it is opened for an item: a person's primary
// address and its Target (its formal name), an organization's primary address and its
// Title, an address item itself and its Title; nothing for any other item.
struct EnvelopeSource {
    const TNRBObject* address = nullptr;
    std::string name;
};
EnvelopeSource EnvelopeSourceOf(const TNRBObject* item);

// The return address file: one line per line, CR LF after each, no header. A missing file
// gives no lines. Writing replaces the file whole; false with *error when it failed.
std::vector<std::string> ReadReturnAddress(const std::string& path);
bool WriteReturnAddress(const std::string& path, const std::vector<std::string>& lines,
                        std::string* error = nullptr);

} // namespace quill
