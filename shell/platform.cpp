#include "morvelstandrik/shell/platform.hpp"

#include <fcntl.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
// Last: shellapi.h needs the types of windows.h.
#include <shellapi.h>
#endif

namespace shell {

#ifdef _WIN32

namespace {

std::string utf8(const wchar_t* wide) {
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
  text.pop_back();  // the terminating NUL
  return text;
}

std::wstring wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, w.data(), n);
  w.pop_back();
  return w;
}

}  // namespace

void use_binary_streams() {
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
  _setmode(2, _O_BINARY);
}

std::vector<std::string> program_arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wargs = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  if (wargs == nullptr) {
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
  }
  for (int i = 1; i < count; ++i) args.push_back(utf8(wargs[i]));
  LocalFree(wargs);
  return args;
}

int open_for_reading(const std::string& name) {
  const std::wstring w = wide(name);
  if (w.empty() && !name.empty()) {
    errno = EINVAL;  // not UTF-8
    return -1;
  }
  return ::_wopen(w.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

#else

void use_binary_streams() {}

std::vector<std::string> program_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

int open_for_reading(const std::string& name) {
  return ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
}

#endif

}  // namespace shell
