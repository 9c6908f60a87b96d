#include "core/engine/TableDef.h"

#include <strings.h>

namespace kest::engine {

const FieldDef* TableDef::Field(const std::string& fieldName) const {
    for (const auto& f : fields) {
        if (strcasecmp(f.name.c_str(), fieldName.c_str()) == 0) return &f;
    }
    return nullptr;
}

const char* FieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::Boolean:
            return "Boolean";
        case FieldType::Long:
            return "Long";
        case FieldType::Single:
            return "Single";
        case FieldType::Date:
            return "Date";
        case FieldType::Text:
            return "Text";
    }
    return "?";
}

int DefaultFieldSize(FieldType type) {
    switch (type) {
        case FieldType::Boolean:
            return 1;
        case FieldType::Long:
        case FieldType::Single:
            return 4;
        case FieldType::Date:
            return 8;
        case FieldType::Text:
            return 255;
    }
    return 0;
}

}  // namespace kest::engine
