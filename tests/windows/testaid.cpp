// testaid: what the tests of the Windows release (tests/windows/*.sh) need of Windows itself, run under Wine:
//   testaid hold FILE SHARING MILLISECONDS  opens FILE for reading and keeps it open that long, letting other programs
//                                           share it as SHARING says: none, read, write, delete, or several joined by
//                                           "+"; prints "held" once it holds the file. With "input" for MILLISECONDS,
//                                           it keeps the file until its standard input ends
//   testaid codepage [CODEPAGE]             prints the console's output code page, after setting it when given
//   testaid clipboard                       prints the text on the clipboard, in UTF-8
// Exit status: 0 done, 1 the system refused, 2 wrong arguments.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

int usage() {
  std::fputs(
      "usage: testaid hold FILE none|read|write|delete[+...] MILLISECONDS|input | codepage [CODEPAGE] | clipboard\n",
      stderr);
  return 2;
}

int refused(const char* what) {
  std::fprintf(stderr, "testaid: %s failed, error %lu\n", what, GetLastError());
  return 1;
}

// FILE_SHARE_* flags from "read+write" and the like; false for a word it does not know.
bool sharingFlags(const std::wstring& text, DWORD& flags) {
  flags = 0;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(L'+', start), text.size());
    const std::wstring word = text.substr(start, end - start);
    if (word == L"read")
      flags |= FILE_SHARE_READ;
    else if (word == L"write")
      flags |= FILE_SHARE_WRITE;
    else if (word == L"delete")
      flags |= FILE_SHARE_DELETE;
    else if (word != L"none")
      return false;
    start = end + 1;
  }
  return true;
}

int hold(const wchar_t* path, const wchar_t* sharing, const wchar_t* milliseconds) {
  DWORD share = 0;
  if (!sharingFlags(sharing, share)) return usage();
  const HANDLE file = CreateFileW(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return refused("opening the file");
  std::puts("held");
  std::fflush(stdout);
  if (std::wcscmp(milliseconds, L"input") == 0)
    while (std::getchar() != EOF) {
    }
  else
    Sleep(static_cast<DWORD>(std::wcstoul(milliseconds, nullptr, 10)));
  CloseHandle(file);
  return 0;
}

int codepage(const wchar_t* set) {
  if (set && !SetConsoleOutputCP(static_cast<UINT>(std::wcstoul(set, nullptr, 10))))
    return refused("setting the code page");
  const UINT page = GetConsoleOutputCP();
  if (page == 0) return refused("reading the code page");
  std::printf("%u\n", page);
  return 0;
}

int clipboard() {
  if (!OpenClipboard(nullptr)) return refused("opening the clipboard");
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (!text) {
    CloseClipboard();
    return refused("reading the clipboard");
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  GlobalUnlock(data);
  CloseClipboard();
  std::fwrite(utf8.data(), 1, std::strlen(utf8.c_str()), stdout);
  return 0;
}

}  // namespace

// Wide arguments (linked with -municode), so that a file name beyond the ANSI code page comes through.
int wmain(int argc, wchar_t* argv[]) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"hold" && argc == 5) return hold(argv[2], argv[3], argv[4]);
  if (command == L"codepage" && argc <= 3) return codepage(argc == 3 ? argv[2] : nullptr);
  if (command == L"clipboard" && argc == 2) return clipboard();
  return usage();
}
