// The program's user-visible texts, loaded by id when they are shown.
#pragma once

#include <string>

namespace quorvel {

// The text of string `id`, or an empty text when the table has no such id.
std::string LoadStringResource(unsigned id);

}  // namespace quorvel
