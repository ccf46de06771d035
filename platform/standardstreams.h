#ifndef QUELLARIS_PLATFORM_STANDARDSTREAMS_H
#define QUELLARIS_PLATFORM_STANDARDSTREAMS_H

// What the game makes of the standard streams it was started with: a launcher or script may
// start it with one closed, or with a reader of its output that goes away while it plays.
// Neither may hang or end the game. Both calls belong at the very start of main, before
// anything opens a file or a connection.

// Opens each of the descriptors 0, 1 and 2 that is closed on /dev/null. A closed one would
// be the first free descriptor: the next file or the display connection would take it, and
// whatever the game writes to standard output or standard error would go into that.
void openClosedStandardDescriptors();

// A write to an output whose reader has gone fails instead of ending the program by SIGPIPE;
// standard output then drops what it is given (the trace is lost, nothing else), and so does
// the flush of its buffer at exit.
void survivePipesWithoutReader();

#endif
