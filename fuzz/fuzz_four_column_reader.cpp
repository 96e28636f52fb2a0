// libFuzzer harness for the four-column pedigree reader: any bytes in, a consistent record or a
// failure with a message out.

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    check_result(pedigree::read_four_column_pedigree(as_text(data, size), file_name), false);
    return 0;
}
