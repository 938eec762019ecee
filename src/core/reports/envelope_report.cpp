#include "core/reports/envelope_report.h"

#include "core/model/contact_holder_objects.h"
#include "core/reports/report_fields.h"
#include "core/util/atomic_file.h"
#include "core/util/text_lines.h"

#include <array>
#include <filesystem>

namespace quill {

std::span<const EnvelopeSizeInfo> EnvelopeSizes() {
    static constexpr std::array<EnvelopeSizeInfo, 5> sizes{{
        {EnvelopeSize::No10, "#10 Env (4.125 x 9.5 in)", "#10", 412, 650, 900},
        {EnvelopeSize::Monarch, "Monarch (3.875 x 7.5 in)", "Monarch", 388, 550, 700},
        {EnvelopeSize::B5, "B5 Env (176 x 250 mm)", "B5", 700, 675, 950},
        {EnvelopeSize::C5, "C5 Env (162 x 229 mm)", "C5", 648, 633, 866},
        {EnvelopeSize::DL, "DL Env (110 x 220 mm)", "DL", 440, 615, 830},
    }};
    return sizes;
}

const EnvelopeSizeInfo& EnvelopeSizeOf(EnvelopeSize size) {
    return EnvelopeSizes()[static_cast<std::size_t>(size)];
}

const EnvelopeSizeInfo* FindEnvelopeSize(std::string_view name) {
    for (const EnvelopeSizeInfo& info : EnvelopeSizes()) {
        if (info.shortName == name || info.listText == name) {
            return &info;
        }
    }
    return nullptr;
}

EnvelopePlacement PlaceEnvelope(EnvelopeSize size, int pageHeight, int pageWidth) {
    const EnvelopeSizeInfo& info = EnvelopeSizeOf(size);
    EnvelopePlacement p;
    p.deliveryTop = (pageHeight - info.heightTerm) / 2 + 152; // C++ divides toward zero
    p.deliveryLeft = pageWidth - info.deliveryTerm;
    p.returnTop = p.deliveryTop - kReturnAboveDelivery;
    p.returnLeft = pageWidth - info.returnTerm;
    return p;
}

std::vector<std::string> DeliveryLines(const TNRBObject* address, std::string_view name) {
    std::vector<std::string> lines;
    if (!address) {
        return lines;
    }
    if (const std::string_view printed = PrintedName(name); !printed.empty()) {
        lines.emplace_back(printed);
    }
    const AddressEntries a = ReadAddressEntries(*address);
    a.AppendStreetLines(lines);
    lines.push_back(a.CityLine());
    lines.push_back(a.PostalLine());
    return lines;
}

EnvelopeSource EnvelopeSourceOf(const TNRBObject* item) {
    EnvelopeSource source;
    if (!item) {
        return source;
    }
    switch (item->Kind()) {
    case kPersonKind:
    case kOrganizationKind: {
        const auto& holder = static_cast<const TContactHolderObject&>(*item);
        source.address = holder.FindChild(holder.PrimaryAddress(), kAddressKind);
        source.name = std::string(item->Kind() == kPersonKind ? item->Target() : item->Title());
        break;
    }
    case kAddressKind:
        source.address = item;
        source.name = std::string(item->Title());
        break;
    default:
        break;
    }
    return source;
}

std::vector<std::string> ReadReturnAddress(const std::string& path) {
    std::vector<std::string> lines;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return lines;
    }
    ForEachTextLine(path, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

bool WriteReturnAddress(const std::string& path, const std::vector<std::string>& lines,
                        std::string* error) {
    std::string text;
    for (const std::string& line : lines) {
        text.append(line).append("\r\n");
    }
    AtomicFileWriter writer;
    if (writer.Open(path) && writer.Write(text) && writer.Commit()) {
        return true;
    }
    if (error) {
        *error = writer.Error();
    }
    return false;
}

} // namespace quill
