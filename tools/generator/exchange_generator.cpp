#include "exchange_generator.h"
#include "generator_words.h"

#include "core/exchange/record_types.h"
#include "core/model/item_kind.h"

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace quill {
namespace {

using namespace generated;

constexpr std::array<std::string_view, 8> kMiddleNames{"",   "",       "",    "Marie",
                                                       "J.", "Louise", "van", "Ann-Kathrin"};
constexpr std::array<std::string_view, 10> kOrganizations{
    "Acme Ltd",         "Northwind GmbH", "Blue Harbour Inc.", "Kettle & Co, Ltd",
    "Fjord Systems AB", "Ångström Labs",  "Lumen S.A.",        "Orchard \"Green\" LLC",
    "Tessera plc",      "Zephyr Oy"};
constexpr std::array<std::string_view, 6> kJobTitles{
    "Buyer", "Engineer", "Director", "Head of Sales; EMEA", "Accountant", "Chef de projet"};
constexpr std::array<std::string_view, 6> kStates{"", "Kent", "Bavaria", "CA", "Ontario", "NSW"};
constexpr std::array<std::string_view, 6> kNotes{
    "",
    "met at the fair, 2019",
    "prefers e-mail; calls only after 10:00",
    "Birthday party invitation sent\nreply pending",
    "Long-standing customer since the Hannover fair; orders twice a year, pays within ten "
    "days, likes to be called by the first name",
    ""};

class Source {
public:
    explicit Source(std::uint32_t seed) : random_(seed) {}
    template <typename T, std::size_t N> std::string_view Pick(const std::array<T, N>& list) {
        return list[Uniform(0, N - 1)];
    }
    std::size_t Uniform(std::size_t low, std::size_t high) {
        return std::uniform_int_distribution<std::size_t>(low, high)(random_);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    std::string Digits(std::size_t count) {
        std::string digits;
        for (std::size_t i = 0; i < count; ++i) {
            digits.push_back(static_cast<char>('0' + Uniform(0, 9)));
        }
        return digits;
    }
    std::string Phone() { return "(" + Digits(3) + ")" + Digits(3) + "-" + Digits(4); }
    std::string Street() {
        return std::to_string(Uniform(1, 240)) + " " + std::string(Pick(kStreets));
    }

private:
    std::mt19937 random_;
};

// A person's parts, drawn once and written either way.
struct Person {
    std::string salutation, first, middle, last;
    std::string organization, jobTitle;
    std::string street, extra, city, state, postCode, country;
    std::string homeStreet, homeCity, homePostCode, homeCountry;
    std::string phone, mobile, fax, mail, otherMail, website, note, birthday;
};

Person Draw(Source& s, std::size_t n) {
    Person p;
    p.salutation = s.Pick(kSalutations);
    p.first = s.Pick(kFirstNames);
    p.middle = s.Pick(kMiddleNames);
    p.last = s.Pick(kLastNames);
    if (s.Chance(0.6)) {
        p.organization = s.Pick(kOrganizations);
        p.jobTitle = s.Pick(kJobTitles);
    }
    p.street = s.Street();
    p.extra = s.Chance(0.2) ? "Flat " + std::to_string(s.Uniform(1, 40)) : "";
    p.city = s.Pick(kCities);
    p.state = s.Pick(kStates);
    p.postCode = s.Digits(5);
    p.country = s.Pick(kCountries);
    if (s.Chance(0.5)) {
        p.homeStreet = s.Street();
        p.homeCity = s.Pick(kCities);
        p.homePostCode = s.Digits(5);
        p.homeCountry = s.Pick(kCountries);
    }
    p.phone = s.Phone();
    p.mobile = s.Chance(0.7) ? "+44 7700 " + s.Digits(6) : "";
    p.fax = s.Chance(0.3) ? s.Phone() : "";
    const std::string number = std::to_string(n);
    p.mail = "c" + number + "@example.org";
    p.otherMail = s.Chance(0.4) ? "p" + s.Digits(4) + "@mail.example.net" : "";
    p.website = s.Chance(0.5) ? "http://www.example" + number + ".com/" : "";
    p.note = s.Pick(kNotes);
    p.birthday = s.Chance(0.5)
                     ? "19" + std::to_string(s.Uniform(40, 99)) + "-0" +
                           std::to_string(s.Uniform(1, 9)) + "-1" + std::to_string(s.Uniform(0, 9))
                     : "";
    return p;
}

// A vCard text value: backslash, comma, semicolon and line break escaped.
std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == ',' || c == ';') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\n') {
            out.append("\\n");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// A content line, folded after 75 octets (never inside a UTF-8 sequence) with CR LF and a
// blank, as vCard 3.0 writers do.
void PutLine(std::ostream& out, const std::string& line) {
    std::size_t start = 0;
    bool first = true;
    while (line.size() - start > (first ? 75u : 74u)) {
        std::size_t cut = start + (first ? 75 : 74);
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out << (first ? "" : " ") << std::string_view(line).substr(start, cut - start) << "\r\n";
        start = cut;
        first = false;
    }
    out << (first ? "" : " ") << std::string_view(line).substr(start) << "\r\n";
}

// A CSV value, quoted when it holds a comma, a quote or a line break.
void PutCsvValue(std::string& line, std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        line.append(value);
        return;
    }
    line.push_back('"');
    for (const char c : value) {
        if (c == '"') {
            line.push_back('"');
        }
        line.push_back(c);
    }
    line.push_back('"');
}

std::string FormattedName(const Person& p) {
    std::string name;
    for (const std::string* part : {&p.salutation, &p.first, &p.middle, &p.last}) {
        if (!part->empty()) {
            if (!name.empty()) {
                name.push_back(' ');
            }
            name.append(*part);
        }
    }
    return name;
}

} // namespace

void GenerateVCards(std::ostream& out, std::size_t cardCount, std::uint32_t seed) {
    Source source(seed);
    for (std::size_t n = 0; n < cardCount; ++n) {
        const Person p = Draw(source, n);
        PutLine(out, "BEGIN:VCARD");
        PutLine(out, "VERSION:3.0");
        PutLine(out, "N:" + Escaped(p.last) + ";" + Escaped(p.first) + ";" + Escaped(p.middle) +
                         ";" + Escaped(p.salutation) + ";");
        PutLine(out, "FN:" + Escaped(FormattedName(p)));
        if (!p.organization.empty()) {
            PutLine(out, "ORG:" + Escaped(p.organization) + ";Sales");
            PutLine(out, "TITLE:" + Escaped(p.jobTitle));
        }
        PutLine(out, "ADR;TYPE=WORK,PREF:;" + Escaped(p.extra) + ";" + Escaped(p.street) + ";" +
                         Escaped(p.city) + ";" + Escaped(p.state) + ";" + p.postCode + ";" +
                         Escaped(p.country));
        if (!p.homeStreet.empty()) {
            PutLine(out, "ADR;TYPE=HOME:;;" + Escaped(p.homeStreet) + ";" + Escaped(p.homeCity) +
                             ";;" + p.homePostCode + ";" + Escaped(p.homeCountry));
        }
        PutLine(out, "TEL;TYPE=WORK,VOICE,PREF:" + p.phone);
        if (!p.mobile.empty()) {
            PutLine(out, "TEL;TYPE=CELL:" + p.mobile);
        }
        if (!p.fax.empty()) {
            PutLine(out, "TEL;TYPE=WORK,FAX:" + p.fax);
        }
        PutLine(out, "EMAIL;TYPE=INTERNET,PREF:" + p.mail);
        if (!p.otherMail.empty()) {
            PutLine(out, "EMAIL;TYPE=INTERNET,HOME:" + p.otherMail);
        }
        if (!p.website.empty()) {
            PutLine(out, "URL:" + p.website);
        }
        if (!p.note.empty()) {
            PutLine(out, "NOTE:" + Escaped(p.note));
        }
        if (!p.birthday.empty()) {
            PutLine(out, "BDAY:" + p.birthday);
        }
        PutLine(out, "UID:quillmere-generated-" + std::to_string(seed) + "-" + std::to_string(n));
        PutLine(out, "END:VCARD");
    }
}

void GeneratePersonCsv(std::ostream& out, std::size_t lineCount, std::uint32_t seed) {
    const TRecordType* person = RecordTypeOfKind(kPersonKind);
    std::string line;
    for (std::size_t i = 0; person && i < person->fields.size(); ++i) {
        if (i > 0) {
            line.push_back(',');
        }
        PutCsvValue(line, person->fields[i]);
    }
    out << line << "\r\n";
    Source source(seed);
    for (std::size_t n = 0; n < lineCount; ++n) {
        const Person p = Draw(source, n);
        std::string address3;
        if (!p.organization.empty() && n % 8 == 0) {
            address3 = "c/o " + p.organization;
        }
        std::string comment = n % 3 == 0 ? p.note : std::string();
        for (char& c : comment) {
            c = c == '\n' ? ' ' : c;
        }
        const std::string title = FormattedName(p);
        const std::string_view values[] = {title,      p.salutation, p.first,  p.middle, p.last,
                                           p.street,   p.extra,      address3, p.city,   p.state,
                                           p.postCode, p.country,    p.phone,  p.fax,    p.mail,
                                           p.website,  comment};
        line.clear();
        for (std::size_t i = 0; i < std::size(values); ++i) {
            if (i > 0) {
                line.push_back(',');
            }
            PutCsvValue(line, values[i]);
        }
        out << line << "\r\n";
    }
}

} // namespace quill
