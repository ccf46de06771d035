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
           "leak:libgallium\n"
           // The dynamic loader's bookkeeping of libraries opened at run time (the ones SDL, the
           // GL and the sound library probe for, and with thread-local storage left unscanned,
           // below) looks unreferenced. Matched by the loader's file, which needs no symbols:
           // the fast unwinder stops inside the loader, before the library that opened it.
           "leak:ld-linux-x86-64.so.2\n"
           // The C library's per-thread dlerror() record, likewise held in thread-local storage.
           // Its frame is inside the C library, as is the outermost frame of every stack, ours too,
           // so it is matched by name: scripts/packages.txt brings the symbols (libc6-dbg).
           "leak:_dlerror_run\n";
}

// LeakSanitizer's scan of the dynamic thread-local blocks of libraries opened at run time
// (the GL driver, the sound backends) can read a damaged block table with this toolchain and
// crash at exit; our code keeps no heap pointer only in thread-local storage, so the scan is
// left out.
extern "C" const char* __lsan_default_options() {
    return "use_tls=0";
}

// ThreadSanitizer watches all of our own code; what the sound library and the software GL
// driver do inside is left out. Neither is instrumented, so ThreadSanitizer sees only their
// calls into its interceptors (locks, signals, copies, frees), never the plain reads, writes and
// atomics between them. Seen so, a lock-free hand-over inside either library looks like a race,
// and the sound library takes locks on the thread that stops its sounds that ThreadSanitizer
// never sees let go: as a game closes its sound, the deadlock detector's table of a thread's
// held locks (64) overflows and ThreadSanitizer stops itself. Calls these two libraries make
// into the interceptors are therefore not watched at all (called_from_lib), which keeps every
// access and every lock of our own code watched (the loader thread's and the main thread's,
// and the order in which our code takes its locks). A race: line would hide every report with a
// frame of the library in it, and turning the deadlock detector off would stop it watching the
// order of our own locks.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libopenal.so\n"
           "called_from_lib:swrast_dri.so\n";
}
