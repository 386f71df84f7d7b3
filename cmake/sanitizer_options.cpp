// Default options of the sanitizer runtime for every program of a sanitized build; a run's own
// ASAN_OPTIONS still override them.
//
// intercept_tls_get_addr=0: GCC 12's runtime takes a dynamic thread-local block that happens to
// start 16 bytes into a page (as the language library's per-thread converters can, the library
// being loaded at run time) for an old glibc layout, reads the words before it as a block address,
// and its leak tracer then dies on exit. Thread-local blocks here are freed by their destructors
// before the leak check runs, so the interception is not needed to find leaks.
extern "C" const char* __asan_default_options() { return "detect_leaks=1:intercept_tls_get_addr=0"; }
