// The application manifest as the loader applies it to a program that links
// the resources: common controls 6 and system DPI awareness.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/resources/ResourceBytes.h"

namespace {

using morvek_test::ResourceBytes;

std::string ManifestText() {
  std::vector<unsigned char> bytes = ResourceBytes(RT_MANIFEST, MAKEINTRESOURCEA(1));
  return std::string(bytes.begin(), bytes.end());
}

TEST(Manifest, CommonControlsComeFromTheVersionSixAssembly) {
  // The process's activation context, made from the manifest at start,
  // redirects comctl32.dll to the side-by-side assembly; without the
  // dependency the system's version 5 stays.
  ACTCTX_SECTION_KEYED_DATA data = {};
  data.cbSize = sizeof(data);
  ASSERT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       "comctl32.dll", &data));
}

TEST(Manifest, ProcessIsDpiAware) {
  EXPECT_TRUE(IsProcessDPIAware());
}

TEST(Manifest, NamesEveryWindowsFromVistaOn) {
  std::string text = ManifestText();
  ASSERT_FALSE(text.empty());
  for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                         "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(std::string::npos, text.find(std::string("<supportedOS Id=\"") + id + "\"/>")) << id;
  }
  // Never a UTF-8 code page: the program's texts are code page 932 bytes.
  EXPECT_EQ(std::string::npos, text.find("activeCodePage"));
}

}  // namespace
