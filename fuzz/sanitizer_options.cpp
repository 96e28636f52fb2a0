// Linked into every harness: a failed allocation returns nullptr, as the C library's
// would, so the readers' own handling of a count too large to allocate is what gets
// exercised, instead of a sanitizer abort on the request.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
