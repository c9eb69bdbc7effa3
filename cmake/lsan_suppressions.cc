// fontconfig keeps its caches until exit; those blocks are the library's, not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
