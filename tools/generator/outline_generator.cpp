#include "outline_generator.h"
#include "generator_words.h"

#include "core/model/attachment_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/locale_names.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"

#include <array>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quill {
namespace {

using namespace generated;

constexpr std::array<std::string_view, 12> kOrgWords{
    "Acme",  "Northwind", "Blue Harbour", "Kettle & Co", "Fjord Systems", "Ångström Labs",
    "Lumen", "Orchard",   "Quarry",       "Tessera",     "Vireo",         "Zephyr"};
constexpr std::array<std::string_view, 8> kOrgSuffixes{"Ltd", "GmbH", "Inc.", "S.A.",
                                                       "AB",  "Oy",   "LLC",  "plc"};
constexpr std::array<std::string_view, 10> kFolderNames{
    "Family", "Friends", "Work",       "Clients", "Suppliers",
    "Club",   "School",  "Neighbours", "Archive", "Café regulars"};
constexpr std::array<std::string_view, 5> kDocuments{
    "/home/user/Documents/contract.pdf", "/home/user/Documents/Angebot 2026.odt",
    "/srv/share/minutes.txt", "/home/user/Pictures/portrait.jpg", "/home/user/notes.md"};

class Generator {
public:
    Generator(TOutline& outline, std::size_t target, std::uint32_t seed)
        : outline_(outline), target_(target), random_(seed) {}

    void Run() {
        TOutlineNode* root = outline_.Root();
        while (made_ < target_) {
            const std::size_t before = made_;
            Folder(root, 1);
            if (made_ == before) {
                break;
            }
        }
    }

private:
    template <typename T, std::size_t N> std::string_view Pick(const std::array<T, N>& list) {
        return list[Uniform(0, N - 1)];
    }
    std::size_t Uniform(std::size_t low, std::size_t high) {
        return std::uniform_int_distribution<std::size_t>(low, high)(random_);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    std::int32_t Id() {
        return std::uniform_int_distribution<std::int32_t>(1, 2147352578)(random_);
    }
    std::int32_t Categories() {
        if (!Chance(0.3)) {
            return 0;
        }
        std::uint32_t bits = 0;
        const std::size_t count = Uniform(1, 3);
        for (std::size_t i = 0; i < count; ++i) {
            bits |= 1u << Uniform(0, 31);
        }
        return static_cast<std::int32_t>(bits);
    }
    std::string Number(std::size_t digits) {
        std::string s;
        for (std::size_t i = 0; i < digits; ++i) {
            s.push_back(static_cast<char>('0' + Uniform(0, 9)));
        }
        return s;
    }
    std::string Phone() { return "(" + Number(3) + ")" + Number(3) + "-" + Number(4); }

    TNRBObject* Make(int kind, std::string_view title, std::string_view target,
                     std::string_view comment, std::string_view dataLine, TOutlineNode* parent) {
        ++made_;
        return CreateItem(kind, title, target, comment, Id(), dataLine, parent);
    }
    std::string Categorised(std::string line) {
        line.append(kFieldSeparator);
        AppendNumber(line, Categories());
        return line;
    }
    bool Full() const { return made_ >= target_; }

    void Folder(TOutlineNode* parent, int depth) {
        std::string title(Pick(kFolderNames));
        if (Chance(0.5)) {
            title += " " + Number(2);
        }
        TNRBObject* folder = Make(kFolderKind, title, "", Chance(0.2) ? "kept since 1998" : "",
                                  Categorised("{Fold}"), parent);
        TOutlineNode* node = folder->Node();
        const std::size_t entries = Uniform(4, 12);
        for (std::size_t i = 0; i < entries && !Full(); ++i) {
            const std::size_t roll = Uniform(0, 99);
            if (roll < 8 && depth < 4) {
                Folder(node, depth + 1);
            } else if (roll < 25) {
                Organization(node);
            } else if (roll < 30) {
                Team(node);
            } else if (roll < 92) {
                Person(node);
            } else {
                Website(node, "");
            }
        }
    }

    void Organization(TOutlineNode* parent) {
        const std::string name =
            std::string(Pick(kOrgWords)) + " " + std::string(Pick(kOrgSuffixes));
        std::string line = "{Orgn}Office~~Switchboard~~Office Fax~~Info~~Homepage";
        TNRBObject* org = Make(kOrganizationKind, name, "", Chance(0.3) ? "preferred supplier" : "",
                               Categorised(line), parent);
        TOutlineNode* node = org->Node();
        Address(node, "Office");
        Phone(node, "Switchboard");
        Fax(node, "Office Fax");
        EMail(node, "Info", "info@example.com");
        Website(node, "Homepage");
        const std::size_t staff = Uniform(0, 4);
        for (std::size_t i = 0; i < staff && !Full(); ++i) {
            Person(node);
        }
    }

    void Team(TOutlineNode* parent) {
        TNRBObject* team = Make(kTeamKind, "Team " + std::string(Pick(kCities)), "", "",
                                Categorised("{Team}"), parent);
        const std::size_t members = Uniform(1, 4);
        for (std::size_t i = 0; i < members && !Full(); ++i) {
            Person(team->Node());
        }
    }

    void Person(TOutlineNode* parent) {
        const std::string_view salutation = Pick(kSalutations);
        const std::string_view first = Pick(kFirstNames);
        const std::string middle =
            Chance(0.2) ? std::string(1, static_cast<char>('A' + Uniform(0, 25))) + "." : "";
        const std::string_view last = Pick(kLastNames);
        const std::string title = std::string(first) + " " + std::string(last);
        const std::string formal =
            std::string(salutation) + " " + std::string(first) + " " + std::string(last);
        const bool web = Chance(0.15);
        const bool fax = Chance(0.2);
        std::string line = "{Pers}" + std::string(salutation) + "~~" + std::string(first) + "~~" +
                           middle + "~~" + std::string(last) +
                           "~~Primary Address~~Primary Phone~~" + (fax ? "Primary FAX" : "") +
                           "~~Primary E-Mail~~" + (web ? "Primary Website" : "");
        TNRBObject* person =
            Make(kPersonKind, title, formal, Chance(0.25) ? "met at the fair, 2019" : "",
                 Categorised(line), parent);
        TOutlineNode* node = person->Node();
        Address(node, "Primary Address");
        Phone(node, "Primary Phone");
        if (Chance(0.4)) {
            Phone(node, Chance(0.5) ? "Mobile" : "Home");
        }
        if (fax) {
            Fax(node, "Primary FAX");
        }
        // The local part stays ASCII, as most mail addresses do.
        std::string mail = std::string(1, static_cast<char>('a' + Uniform(0, 25))) + "." +
                           Number(4) + "@example.org";
        EMail(node, "Primary E-Mail", mail);
        if (web) {
            Website(node, "Primary Website");
        }
        if (Chance(0.1)) {
            Document(node);
        }
        if (Chance(0.1)) {
            Reminder(node);
        }
        if (Chance(0.03)) {
            Tool(node);
        }
    }

    void Address(TOutlineNode* holder, std::string_view title) {
        if (Full()) {
            return;
        }
        const std::string first = Number(Uniform(1, 3)) + " " + std::string(Pick(kStreets));
        const std::string second = Chance(0.3) ? "Flat " + Number(1) : "";
        std::string line = "{Addr}" + first + "~~" + second + "~~~~" + std::string(Pick(kCities)) +
                           "~~" + (Chance(0.5) ? "Kent" : "") + "~~" + Number(5) + "~~" +
                           std::string(Pick(kCountries));
        Make(kAddressKind, title, first, "", Categorised(line), holder);
    }
    void Phone(TOutlineNode* holder, std::string_view title) {
        if (!Full()) {
            Make(kPhoneKind, title, Phone(), "",
                 Categorised("{Phon}" + (Chance(0.2) ? Number(3) : "")), holder);
        }
    }
    void Fax(TOutlineNode* holder, std::string_view title) {
        if (!Full()) {
            Make(kFaxKind, title, Phone(), "", Categorised("{Faxs}"), holder);
        }
    }
    void EMail(TOutlineNode* holder, std::string_view title, std::string_view address) {
        if (!Full()) {
            Make(kEMailKind, title, address, "", Categorised("{Mail}"), holder);
        }
    }
    void Website(TOutlineNode* holder, std::string_view title) {
        if (!Full()) {
            const std::string url = "http://www.example" + Number(3) + ".com/";
            Make(kWebsiteKind, title.empty() ? "Bookmark " + Number(2) : std::string(title), url,
                 "", Categorised("{Webs}"), holder);
        }
    }
    void Document(TOutlineNode* holder) {
        if (!Full()) {
            Make(kDocumentKind, "Contract", Pick(kDocuments), "signed copy", Categorised("{Docs}"),
                 holder);
        }
    }
    void Reminder(TOutlineNode* holder) {
        if (Full()) {
            return;
        }
        const std::string date =
            std::to_string(Uniform(1995, 2030)) + "," + std::to_string(Uniform(1, 12)) + "," +
            std::to_string(Uniform(1, 28)) + "," + std::to_string(Uniform(0, 5));
        TNRBObject* reminder =
            Make(kReminderKind, "Birthday", "", "", Categorised("{Remd}" + date), holder);
        // The description the reminder itself would show.
        auto* r = static_cast<TReminderObject*>(reminder);
        r->SetTarget(r->RecurringDate().Describe());
    }
    void Tool(TOutlineNode* holder) {
        if (!Full()) {
            Make(kToolKind, "New Editor", "notes.txt", "", Categorised("{Tool}gedit~~--new-window"),
                 holder);
        }
    }

    TOutline& outline_;
    std::size_t target_;
    std::size_t made_ = 0;
    std::mt19937 random_;
};

} // namespace

void GenerateOutline(TOutline& outline, std::size_t itemCount, std::uint32_t seed) {
    // The same file on every machine, whatever its locale.
    Services services = CurrentServices();
    services.locale = &EnglishLocaleNames();
    ScopedServices english(services);
    if (!outline.Root()) {
        outline.CreateRoot();
    }
    Generator(outline, itemCount, seed).Run();
}

} // namespace quill
