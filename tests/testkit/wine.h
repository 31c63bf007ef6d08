#pragma once

namespace tovarin::testkit {

// True when the Windows build runs under Wine rather than on Windows; always false on other systems. Tests of
// Windows behaviour that Wine is known to reproduce differently skip themselves there.
[[nodiscard]] bool RunningUnderWine();

}  // namespace tovarin::testkit
