// Reading the test program's own resources back as raw bytes, and decoding
// dialog templates (DLGTEMPLATE, the form our resource script produces).
#ifndef MORVEK_TESTS_RESOURCES_RESOURCEBYTES_H
#define MORVEK_TESTS_RESOURCES_RESOURCEBYTES_H

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace morvek_test {

// The bytes of one resource of this module; empty when it is missing.
// Resource data stays mapped for the life of the module.
std::vector<unsigned char> ResourceBytes(LPCSTR type, LPCSTR name);
// The same for one language exactly, as FindResourceExA finds it.
std::vector<unsigned char> ResourceBytesIn(LPCSTR type, LPCSTR name, WORD language);

// A template field that is either a number (0xFFFF, n) or a text.
struct NameOrOrdinal {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::wstring name;
};

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal text;
  WORD extraBytes = 0;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::wstring caption;
  WORD pointSize = 0;
  std::wstring faceName;
  std::vector<DialogItem> items;
};

// Decodes data[0, size). Returns false when the template is of the extended
// kind or any field would reach past the end.
bool ParseDialogTemplate(const unsigned char* data, size_t size, DialogTemplate* out);

// Name of a predefined control class given by its atom (0x80 "Button" ...
// 0x85 "ComboBox"), or the class text itself.
std::wstring ClassName(const NameOrOrdinal& windowClass);

}  // namespace morvek_test

#endif  // MORVEK_TESTS_RESOURCES_RESOURCEBYTES_H
