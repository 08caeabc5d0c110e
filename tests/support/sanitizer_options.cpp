// The sanitizers' settings for every sanitized run, the test suite and the fuzz targets alike.
// The sanitizer runtimes ask for them at start-up; without sanitizers nothing calls them.

extern "C" const char *__asan_default_options()
{
    return "detect_leaks=1:abort_on_error=1:strict_string_checks=1";
}

extern "C" const char *__ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// The font configuration library keeps its caches until exit on purpose.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
