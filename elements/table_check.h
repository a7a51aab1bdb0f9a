#pragma once

#include <string_view>

#include "text/text.h"

namespace mdlVeltrax {

// The first thing wrong with an element file, in words for its user (what,
// where and how to mend it), or empty text where nothing is. Each byte is a
// character to the program; a text quoted from the file is named as a person
// sees it in an editor: a UTF-8 file as UTF-8, any other as the Russian
// single-byte code page. `cut` says that the file is longer than `bytes`,
// which is all that is read. The file is still used as it is (an empty one
// is not: the built-in table serves): this only tells.
Text CheckNameMass(std::string_view bytes, bool cut = false);

}  // namespace mdlVeltrax
