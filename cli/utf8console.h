#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace skelvor {

/// While it lives, a Windows console shows what the program writes as UTF-8, as the programs write it everywhere,
/// instead of reading those bytes in the console's own code page (850 or 437 in a Command Prompt), which would garble
/// a path such as C:\Users\Zoë. The console's code page is given back at the end, for the commands that follow. A
/// redirected output gets the same bytes either way; elsewhere there is nothing to do.
class Utf8Console {
 public:
#ifdef _WIN32
  Utf8Console() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~Utf8Console() { SetConsoleOutputCP(previous_); }

 private:
  UINT previous_;
#else
  Utf8Console() = default;
#endif

 public:
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;
};

}  // namespace skelvor
