#pragma once
// The names, places and streets both generators draw from, so that generated outlines and
// generated exchange files look alike.

#include <array>
#include <string_view>

namespace quill::generated {

inline constexpr std::array<std::string_view, 24> kFirstNames{
    "Ann",     "Bob",  "Chloé",   "Dmitri", "Élise", "Farid", "Greta",   "Hiroshi",
    "Ingrid",  "José", "Katalin", "Łukasz", "Mia",   "Niamh", "Oğuz",    "Priya",
    "Quentin", "Rosa", "Søren",   "Tomás",  "Ulla",  "Ελένη", "Дмитрий", "美咲"};
inline constexpr std::array<std::string_view, 20> kLastNames{
    "Lee",     "Müller",       "García",   "Nakamura", "O'Brien", "Kowalski",     "Dubois",
    "Rossi",   "Novák",        "Jensen",   "Şahin",    "Patel",   "van der Berg", "Smith",
    "Ivanova", "Papadopoulos", "Svensson", "Horváth",  "Иванов",  "佐藤"};
inline constexpr std::array<std::string_view, 6> kSalutations{"",    "Mr.",   "Ms.",
                                                              "Dr.", "Prof.", "Mx."};
inline constexpr std::array<std::string_view, 10> kCities{
    "Springfield", "Kent",    "München", "Lyon",  "Kraków",
    "Göteborg",    "Sevilla", "Porto",   "Αθήνα", "Toronto"};
inline constexpr std::array<std::string_view, 8> kStreets{
    "High Street", "Main St",    "Rue de la Paix", "Hauptstraße",
    "Calle Mayor", "Elm Avenue", "ulica Długa",    "Kungsgatan"};
inline constexpr std::array<std::string_view, 6> kCountries{"UK",     "USA",    "Germany",
                                                            "France", "Poland", "Sweden"};

} // namespace quill::generated
