// Keeps a library target valid while its subsystem lists no sources of that kind.
