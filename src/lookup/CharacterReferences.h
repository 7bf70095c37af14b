#pragma once
// Character references in the alias page's text, read the way a browser
// hands the page body over: as the characters themselves.
#include <string>
#include <string_view>

namespace hh {

// Numeric references (&#39; &#x27;, the semicolon optional) and the named
// ones for quotes, Latin-1 and common typographic marks become the
// characters, UTF-8 encoded. "&amp;", "&lt;", "&gt;" and "&nbsp;" stay
// references, in that named form whichever way they were written, because a
// browser writes those four characters so. Unknown names are left as written.
std::string decodeCharacterReferences(std::string_view text);

} // namespace hh
