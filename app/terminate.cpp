// The C++ runtime's default terminate handler prints the type of an uncaught
// exception, and for that links in the whole symbol demangler and printf
// machinery, about 77 KB. No exception ever leaves our dialog procedures, so
// a plain abort does the same job. Defined here, the runtime's own is not
// linked in.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
