#include "testkit/wine.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tovarin::testkit {

bool RunningUnderWine() {
#ifdef _WIN32
    // Wine's ntdll exports its own version query; Windows' does not.
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

}  // namespace tovarin::testkit
