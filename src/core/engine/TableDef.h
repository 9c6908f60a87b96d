#pragma once

#include <string>
#include <vector>

namespace kest::engine {

// Field types with the classic DAO type codes.
enum class FieldType { Boolean = 1, Long = 4, Single = 6, Date = 8, Text = 10 };

// Field attribute bits.
inline constexpr int kFixedField = 1;
inline constexpr int kVariableField = 2;
inline constexpr int kAutoIncrField = 16;

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Long;
    int size = 4;  // 255 for Text, 4 Long, 8 Date, 4 Single, 1 Boolean
    int attributes = kFixedField;
    bool required = false;
    bool allowZeroLength = false;
    std::string defaultValue;  // as text, empty = none
    int ordinalPosition = 0;

    bool IsCounter() const { return (attributes & kAutoIncrField) != 0; }
};

struct IndexDef {
    std::string name;
    bool primary = false;
    bool unique = false;
    std::vector<std::string> fields;
};

struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;   // in ordinal position order
    std::vector<IndexDef> indexes;  // in creation order

    const FieldDef* Field(const std::string& name) const;  // case-insensitive
};

const char* FieldTypeName(FieldType type);
int DefaultFieldSize(FieldType type);

}  // namespace kest::engine
