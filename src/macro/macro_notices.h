#pragma once

#include <optional>
#include <string>

#include "lang/language.h"
#include "macro/macro_table.h"

namespace quorvel {

// The one message Confirm shows after rebuilding the macro table, in the
// language of the interface: which macros were cut to fit their slots and
// how many macros past the twelfth were ignored, one line each; none when
// the whole library went into the table.
std::optional<std::string> ConfirmNotice(const RebuildResult& rebuild, Language language);

} // namespace quorvel
