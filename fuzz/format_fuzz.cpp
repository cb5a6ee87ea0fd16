// Fuzz target: the display pattern on any single or double bit pattern (NaN,
// infinities, subnormals, negative zero, the largest values) under any
// separators of one to four bytes. Every text must be a form the pattern can
// produce with those separators, or the out-of-range text for an infinity or
// NaN, and must read back as the value within the display's roundings.
//
// Input: a byte whose lowest bit picks single or double, the value's 4 or 8
// bytes, then each separator as a length byte (1 to 4) and its bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzcheck::ByteReader in(data, size);
    const bool single = (in.Byte() & 1) != 0;
    const double value = single ? in.Float() : in.Double();
    const mensura::Precision precision =
        single ? mensura::Precision::Single : mensura::Precision::Double;
    mensura::Separators separators;
    separators.group = in.Text(1 + in.Byte() % 4u);
    separators.decimal = in.Text(1 + in.Byte() % 4u);

    const std::string shown = mensura::FormatResult(value, precision, separators);
    fuzzcheck::CheckShown(value, precision, separators, shown, "FormatResult");

    // A table run formats every cell into one reused string: what it held
    // before must not show through.
    std::string reused(in.Byte(), '7');
    mensura::FormatResult(value, precision, separators, reused);
    if (reused != shown) fuzzcheck::Fail("a reused string gives another text", reused);
    return 0;
}
