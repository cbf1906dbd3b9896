// The shipped exe's own terminate handler, in place of the library's verbose one: that one names
// the exception's type through the C++ demangler, which alone adds about 37 KB to the exe, and a
// window program has no console to print the name on. Only Tavro.exe links this file, so the tests
// keep the verbose handler.

#include <windows.h>

#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    ::OutputDebugStringA("Tavro: ended by an exception that nothing handled\n");
    std::abort();
}

}  // namespace __gnu_cxx
