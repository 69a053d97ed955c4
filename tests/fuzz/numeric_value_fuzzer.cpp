// The numeric value of any text: the leading decimal number, blanks inside it
// skipped, rounded exactly on its digits, halves to even. A number too long
// for any reading reads as out of range, never as a wrapped-around value.

#include "fuzz_support.h"
#include "readout/readout.h"

using namespace tervane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::wideText({data, size});
    const std::int64_t value = readout::numericValue(text);

    const fuzz::Decimal number = fuzz::leadingNumber(text);
    if (const auto exact = fuzz::rounded(number)) {
        FUZZ_CHECK(value == *exact);
    } else {
        FUZZ_CHECK(number.negative ? value <= -fuzz::kExactBelow : value >= fuzz::kExactBelow);
    }
    // Reading stops at the first character that cannot continue the number.
    FUZZ_CHECK(readout::numericValue(text + L"C") == value);
    return 0;
}
