// Sanitizer set-up shared by every test binary.

// Mesa's drivers leak small blocks that LeakSanitizer can only attribute while the driver is
// still mapped; unloading it at exit turns them into unsuppressible "unknown module" reports.
// Test binaries therefore keep every shared object loaded: dlclose does nothing here.
extern "C" int dlclose(void*) {
    return 0;
}

// Leaks inside third-party libraries that the tests load but we do not own. Our own leaks
// still fail the tests.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libSDL2\n"
           "leak:libEGL_mesa\n"
           "leak:libGLX_mesa\n"
           "leak:swrast_dri\n"
           "leak:libLLVM\n"
           "leak:libgallium\n";
}
