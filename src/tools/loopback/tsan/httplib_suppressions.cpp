// Compiled into every program that links the loopback library (an interface source), so that
// each has the suppression once, whether or not it uses the bounded server itself: a test's own
// cpp-httplib server needs it as much.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
// Debian's cpp-httplib is built without ThreadSanitizer. Its function-local statics (the request
// methods, the end of a chunked body) are set up once behind guard variables that TSan cannot
// see, so their first use on one connection's thread and a read on another's look like a race:
// the library's own calls into libc are left out of the analysis, as its loads and stores are.
extern "C" const char* __tsan_default_suppressions() { return "called_from_lib:libcpp-httplib.so\n"; }
#endif
#endif
