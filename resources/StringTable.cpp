#include "StringTable.h"

#include "ResourceIds.h"

namespace quorvel {
namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

constexpr StringEntry kStringTable[] = {
#define QUORVEL_STRING(id, text) {id, text},
#include "StringTable.def"
#undef QUORVEL_STRING
};

}  // namespace

std::string LoadStringResource(unsigned id) {
    for (const StringEntry& entry : kStringTable) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

}  // namespace quorvel
