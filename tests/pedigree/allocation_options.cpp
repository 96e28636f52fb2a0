// Under AddressSanitizer a failed allocation returns nullptr, as the C library's does.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
