#pragma once

#include <vector>

// The words the demonstration shop is made of: its sections and what they sell, the
// people who buy there and what they write.
namespace SeedTexts {

enum class Sizes { None, Clothes, Shoes };

struct Section {
    int id;
    int parent; // 0 for a top section
    const char* name;
    const char* slug;
    // What a leaf section sells; empty for a section that only holds others.
    std::vector<const char*> kinds;
    const char* meas;
    Sizes sizes;
    int providerId;
    int minPrice; // whole roubles
    int maxPrice;
};

// In depth-first order; a section follows its parent.
const std::vector<Section>& sections();
const std::vector<const char*>& models();
const std::vector<const char*>& descriptions();

struct Person {
    const char* surname; // the male form; the female one adds "а"
    const char* latin;
};
const std::vector<Person>& surnames();
struct FirstName {
    const char* name;
    const char* latin;
    const char* patronymicMale;   // for a father of that name: "Александрович"
    const char* patronymicFemale; // "Александровна"
    bool female;
};
const std::vector<FirstName>& firstNames();
const std::vector<const char*>& cities();
const std::vector<const char*>& streets();
const std::vector<const char*>& mailDomains();
const std::vector<const char*>& buyerNotes();
const std::vector<const char*>& insideNotes();

} // namespace SeedTexts
