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

// ThreadSanitizer sees only half of what the sound library's own mixer thread does (the library
// is not instrumented), so its lock-free hand-over of property updates looks like a race.
// The software GL driver's worker threads lock, signal and destroy the driver's own mutexes and
// conditions; seen only through the interceptors, that looks like a race with the thread that
// draws, which is left out the same way. The driver's calls into the interceptors are watched:
// with them left unwatched (called_from_lib), the thread that draws is left holding, as
// ThreadSanitizer sees it, driver locks long destroyed, some more with each game made in one
// process, until the deadlock detector's table of a thread's held locks (64) is full and
// ThreadSanitizer stops the test.
// What these two lines cannot see: a report is left out when a frame of either library stands
// in any of its stacks (either access, the creation of either thread, or the allocation of the
// memory), so a race of ours goes untold too where one side of it is the library's: our write
// to memory the driver's or the mixer's threads read (an array or a picture handed to GL, a
// sound buffer), memory either library allocated, or a thread either one started. Only a race
// whose stacks all stay outside both libraries fails the tests.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libopenal.so\n"
           "race:swrast_dri.so\n";
}
