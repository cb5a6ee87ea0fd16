#pragma once

// How the input box's text was read, told back to the user when the number
// read is not simply the text typed: "Read as: 2 (“,5” is ignored; the
// decimal point is “.”)". The rule of reading stays LeadingNumber's; this
// only says what it did.
#include <string>
#include <string_view>

#include "number_text.h"

namespace mensura {

// What `read` (ReadLeadingNumber of `text`) made of the text, with `input`
// the single-precision value the recompute took from it. Empty when the
// text was read as typed: a number and nothing else, blanks at most before
// or after it. Otherwise "Read as: " and the value, then why in brackets:
// blanks dropped inside the number, what after it was ignored (quoted, cut
// after kQuotedCharacters characters), that "&H" or "&O" started it, or that
// there was no number at the start (the value then is 0).
std::string DescribeReading(std::string_view text, const LeadingNumberRead& read, float input);

// The same, reading the text itself.
std::string DescribeReading(std::string_view text);

inline constexpr int kQuotedCharacters = 12;

}  // namespace mensura
