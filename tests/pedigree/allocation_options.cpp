// Under AddressSanitizer, let a failed allocation return nullptr as the C library would,
// so the tests of oversized records see the unit's own handling instead of a sanitizer
// abort. Without the sanitizer this function is never called.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
