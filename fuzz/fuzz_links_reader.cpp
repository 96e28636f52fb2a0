// libFuzzer harness for the individuals-plus-links reader: any bytes in, a consistent record or a
// failure with a message out.

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    check_result(pedigree::read_links_pedigree(as_text(data, size), file_name), true);
    return 0;
}
