// The words that tell how the input box's text was read: the value the
// reading took and, in a few words, what it left out or read otherwise than
// it looks.
#include "input_reading.h"

#include <cmath>

#include "cell.h"
#include "number_text.h"

namespace mensura {

namespace {

// In typographic quotes, cut after kQuotedCharacters characters (not
// bytes: a UTF-8 sequence is never split).
std::string Quoted(std::string_view text) {
    std::size_t end = 0;
    int characters = 0;
    while (end < text.size() && characters < kQuotedCharacters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        ++characters;
    }
    std::string quoted = "\u201c";
    quoted.append(text.substr(0, end));
    if (end < text.size()) quoted += "\u2026";
    return quoted + "\u201d";
}

// Whether a blank stands between the first and the last character that the
// number took: "3 1" in "3 1/2", not the blanks around " 12 ".
bool BlanksInside(std::string_view text, std::size_t used) {
    std::size_t taken = 0;
    bool blankSince = false;
    for (char c : text) {
        if (taken == used) break;
        if (IsInputBlank(c)) {
            blankSince = taken > 0;
        } else {
            if (blankSince) return true;
            ++taken;
        }
    }
    return false;
}

}  // namespace

std::string DescribeReading(std::string_view text, const LeadingNumberRead& read, float input) {
    const bool hasBlanks = text.find_first_of(kInputBlanks) != std::string_view::npos;
    // The usual case, a plain number, is settled without a copy.
    if (!hasBlanks && read.digits && read.radix == 10 && read.end == text.size()) return {};
    const std::string compact = hasBlanks ? WithoutBlanks(text) : std::string(text);
    if (compact.empty()) return {};  // nothing typed but blanks: nothing to tell

    std::string why;
    const auto add = [&why](const std::string& part) {
        if (!why.empty()) why += "; ";
        why += part;
    };
    std::string value;
    if (!read.digits && read.radix == 10) {
        value = "0";
        add("no number at the start");
    } else {
        if (read.radix != 10)
            add(Quoted(compact.substr(0, 2)) +
                (read.radix == 16 ? " starts a hexadecimal number" : " starts an octal number"));
        if (hasBlanks && BlanksInside(text, read.end)) add("spaces are dropped");
        if (read.end < compact.size()) {
            const std::string_view rest = std::string_view(compact).substr(read.end);
            add(Quoted(rest) + " is ignored");
            if (rest.front() == ',') add("the decimal point is \u201c.\u201d");
        }
        if (why.empty()) return {};  // blanks around the number only
        // The value as the recompute holds it; one too large for that, as
        // it was written.
        value = std::isfinite(input) ? PlainSingle(input) : compact.substr(0, read.end);
    }
    return "Read as: " + value + " (" + why + ")";
}

std::string DescribeReading(std::string_view text) {
    const LeadingNumberRead read = ReadLeadingNumber(text);
    return DescribeReading(text, read, static_cast<float>(RoundToSingle(read.value).value));
}

}  // namespace mensura
