// Mesa's drivers leak small blocks that LeakSanitizer can only attribute while the driver is
// still mapped; unloading it at exit turns them into unsuppressible "unknown module" reports.
// Test binaries therefore keep every shared object loaded: dlclose does nothing here.
extern "C" int dlclose(void*) {
    return 0;
}
