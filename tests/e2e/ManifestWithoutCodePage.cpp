// manifest-without-code-page PROGRAM: rewrites the manifest resource of a
// copy of the launcher without its activeCodePage element, so that the copy
// runs under the system's own ANSI code page, as on a system that ignores
// the element. Fails when the manifest has no such element.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  *reinterpret_cast<WORD*>(found) = language;
  return FALSE;
}

int Fail(const char* why) {
  std::fprintf(stderr, "manifest-without-code-page: %s\n", why);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return Fail("usage: manifest-without-code-page PROGRAM");
  HMODULE module = ::LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return Fail("cannot load the program");
  WORD language = 0;
  ::EnumResourceLanguagesW(module, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), &TakeLanguage,
                           reinterpret_cast<LONG_PTR>(&language));
  HRSRC found = ::FindResourceExW(module, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), language);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
  if (!bytes) return Fail("no manifest");
  std::string manifest(bytes, ::SizeofResource(module, found));
  ::FreeLibrary(module);

  // The element sits alone in its <application> block: the block goes.
  std::size_t element = manifest.find("activeCodePage");
  std::size_t begin = manifest.rfind("<application", element);
  std::size_t end = manifest.find("</application>", element);
  if (element == std::string::npos || begin == std::string::npos || end == std::string::npos) {
    return Fail("the manifest asks for no code page");
  }
  manifest.erase(begin, end + sizeof "</application>" - 1 - begin);

  HANDLE update = ::BeginUpdateResourceW(argv[1], FALSE);
  if (!update) return Fail("cannot open the program for writing");
  if (!::UpdateResourceW(update, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), language, &manifest[0],
                         static_cast<DWORD>(manifest.size())) ||
      !::EndUpdateResourceW(update, FALSE)) {
    return Fail("cannot write the manifest");
  }
  return 0;
}
