// The numeric value of any text: the leading decimal number, blanks inside it
// skipped, rounded exactly on its digits, halves to even, whenever it fits in
// 64 bits; beyond, the largest value of its sign, never a wrapped-around or
// cut-down one.

#include "base/text.h"
#include "fuzz_support.h"
#include "readout/readout.h"

using namespace tervane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::wideText({data, size});
    const std::int64_t value = numericValue(text);

    FUZZ_CHECK(value == fuzz::rounded(fuzz::leadingNumber(text)));
    // Reading stops at the first character that cannot continue the number.
    FUZZ_CHECK(numericValue(text + L"C") == value);
    return 0;
}
