// Fuzz target: reading the number at the start of any bytes. LeadingNumber
// gets an exact-size heap copy of the text, so that a read past its end is a
// heap overflow the address sanitizer reports. The result is never NaN, does
// not change when the text goes on with a character that cannot continue a
// number, and once shown through the display pattern (as a double cell, and
// rounded to single as the input value) reads back, separators removed, as
// the value within the display's two roundings.
//
// Input: the text; its last byte also picks the separators of the display.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "cell.h"
#include "fuzz_support.h"
#include "number_text.h"

namespace {

// Separators of real number settings (English, German, French, Swiss,
// and a few more), multi-byte ones among them.
const mensura::Separators kSettings[] = {
    {",", "."},      {".", ","}, {"\u202F", ","}, {"\u2019", "."},
    {"\u00A0", ","}, {"'", "."}, {" ", ","},
};

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::unique_ptr<char[]> copy(new char[size]);
    if (size > 0) std::memcpy(copy.get(), data, size);
    const std::string_view text(copy.get(), size);
    const double value = mensura::LeadingNumber(text);
    if (std::isnan(value)) fuzzcheck::Fail("LeadingNumber gave NaN", std::string(text));
    if (!SameBits(mensura::LeadingNumber(std::string(text) + "x"), value))
        fuzzcheck::Fail("what follows the number changed it", std::string(text));

    const mensura::Separators& separators =
        kSettings[size > 0 ? data[size - 1] % std::size(kSettings) : 0];
    const double asSingle = mensura::RoundToSingle(value).value;
    for (const auto& [v, precision] : {std::pair{value, mensura::Precision::Double},
                                       std::pair{asSingle, mensura::Precision::Single}}) {
        const std::string shown = mensura::FormatResult(v, precision, separators);
        // Also that the text, separators removed, reads back as the value.
        fuzzcheck::CheckShown(v, precision, separators, shown, "parsed");
    }
    return 0;
}
