// The .ods reader on archives of any content (see WorkbookFuzz.h).

#include "WorkbookFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::fuzzWorkbook(data, size, formats::WorkbookKind::Ods, "ods");
}
