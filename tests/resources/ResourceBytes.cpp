#include "tests/resources/ResourceBytes.h"

namespace morvek_test {

namespace {

std::vector<unsigned char> BytesOf(HMODULE module, HRSRC info) {
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(module, info);
  if (data == nullptr) return {};
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

}  // namespace

std::vector<unsigned char> ResourceBytes(LPCSTR type, LPCSTR name) {
  HMODULE module = GetModuleHandleA(nullptr);
  return BytesOf(module, FindResourceA(module, name, type));
}

std::vector<unsigned char> ResourceBytesIn(LPCSTR type, LPCSTR name, WORD language) {
  HMODULE module = GetModuleHandleA(nullptr);
  return BytesOf(module, FindResourceExA(module, type, name, language));
}

namespace {

// Reads little-endian fields from [position, limit); every read reports
// whether it stayed inside.
class TemplateCursor {
 public:
  TemplateCursor(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
  virtual ~TemplateCursor() = default;

  virtual bool Word(WORD* out) {
    if (m_size - m_position < 2) return false;
    *out = static_cast<WORD>(m_data[m_position] | (m_data[m_position + 1] << 8));
    m_position += 2;
    return true;
  }
  virtual bool Short(short* out) {
    WORD w = 0;
    if (!Word(&w)) return false;
    *out = static_cast<short>(w);
    return true;
  }
  virtual bool Dword(DWORD* out) {
    WORD low = 0, high = 0;
    if (!Word(&low) || !Word(&high)) return false;
    *out = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
    return true;
  }
  virtual bool Text(std::wstring* out) {
    out->clear();
    for (;;) {
      WORD c = 0;
      if (!Word(&c)) return false;
      if (c == 0) return true;
      out->push_back(static_cast<wchar_t>(c));
    }
  }
  virtual bool NameOrOrd(NameOrOrdinal* out) {
    WORD first = 0;
    if (!Word(&first)) return false;
    if (first == 0xFFFF) {
      out->isOrdinal = true;
      return Word(&out->ordinal);
    }
    out->isOrdinal = false;
    out->name.clear();
    if (first == 0) return true;
    out->name.push_back(static_cast<wchar_t>(first));
    std::wstring rest;
    if (!Text(&rest)) return false;
    out->name += rest;
    return true;
  }
  virtual bool Skip(size_t count) {
    if (m_size - m_position < count) return false;
    m_position += count;
    return true;
  }
  // Dialog items start on a 32-bit boundary of the template.
  virtual bool AlignToDword() { return Skip((4 - m_position % 4) % 4); }

 private:
  const unsigned char* m_data;
  size_t m_size;
  size_t m_position = 0;
};

}  // namespace

bool ParseDialogTemplate(const unsigned char* data, size_t size, DialogTemplate* out) {
  TemplateCursor cursor(data, size);
  *out = DialogTemplate();
  WORD count = 0;
  if (!cursor.Dword(&out->style)) return false;
  if ((out->style >> 16) == 0xFFFF) return false;  // DLGTEMPLATEEX signature
  if (!cursor.Dword(&out->exStyle) || !cursor.Word(&count) || !cursor.Short(&out->x) ||
      !cursor.Short(&out->y) || !cursor.Short(&out->cx) || !cursor.Short(&out->cy) ||
      !cursor.NameOrOrd(&out->menu) || !cursor.NameOrOrd(&out->windowClass) ||
      !cursor.Text(&out->caption)) {
    return false;
  }
  if ((out->style & DS_SETFONT) != 0) {
    if (!cursor.Word(&out->pointSize) || !cursor.Text(&out->faceName)) return false;
  }
  for (WORD i = 0; i < count; ++i) {
    DialogItem item;
    if (!cursor.AlignToDword() || !cursor.Dword(&item.style) || !cursor.Dword(&item.exStyle) ||
        !cursor.Short(&item.x) || !cursor.Short(&item.y) || !cursor.Short(&item.cx) ||
        !cursor.Short(&item.cy) || !cursor.Word(&item.id) || !cursor.NameOrOrd(&item.windowClass) ||
        !cursor.NameOrOrd(&item.text) || !cursor.Word(&item.extraBytes) ||
        !cursor.Skip(item.extraBytes)) {
      return false;
    }
    out->items.push_back(item);
  }
  return true;
}

std::wstring ClassName(const NameOrOrdinal& windowClass) {
  if (!windowClass.isOrdinal) return windowClass.name;
  switch (windowClass.ordinal) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    default: return L"#" + std::to_wstring(windowClass.ordinal);
  }
}

}  // namespace morvek_test
