// qova.exe as the shell and the loader read it: the program's icon in every
// size the artwork generator draws, the version information in both languages,
// and a manifest the system accepts, with per-monitor DPI awareness, the
// version 6 common controls and the supported systems.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "resources/artwork/ProgramIcon.h"
#include "runtime/UniqueHandle.h"
#include "tests/support/TempFolder.h"

namespace qova::test {
namespace {

inline void freeModule(HMODULE module) { ::FreeLibrary(module); }
using UniqueModule = UniqueResource<NullIsEmpty<HMODULE, freeModule>>;

struct ActivationContextTraits {
  using Type = HANDLE;
  static Type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Type value) { ::ReleaseActCtx(value); }
};
using UniqueActivationContext = UniqueResource<ActivationContextTraits>;

constexpr int kProgramIconResource = 1;
constexpr int kManifestResource = 1;

// The program the build made, in bin/ one folder above this test.
std::string programPath() {
  const std::string folder = testProgramDirectory();
  return folder.substr(0, folder.find_last_of('\\')) + "\\qova.exe";
}

uint32_t littleEndian(std::span<const BYTE> bytes, size_t offset, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value |= uint32_t{bytes[offset + i]} << (8 * i);
  return value;
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryExA(programPath().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module_) << programPath() << " does not load as data, error " << ::GetLastError();
  }

  // The bytes of one resource; empty when the module has none.
  std::span<const BYTE> resource(LPCSTR name, LPCSTR type) const {
    HRSRC found = ::FindResourceA(module_.get(), name, type);
    HGLOBAL loaded = found ? ::LoadResource(module_.get(), found) : nullptr;
    if (!loaded) return {};
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(module_.get(), found)};
  }

  UniqueModule module_;
};

// A 32-bit icon bitmap (header, colour rows bottom-up, AND mask) against the
// generator's picture: alpha within 2 everywhere, colour within 2 wherever visible.
::testing::AssertionResult bitmapMatches(std::span<const BYTE> image, const artwork::Picture& drawn) {
  const int size = drawn.width;
  if (image.size() < 40 || littleEndian(image, 4, 4) != static_cast<uint32_t>(size) ||
      littleEndian(image, 8, 4) != static_cast<uint32_t>(2 * size) || littleEndian(image, 14, 2) != 32)
    return ::testing::AssertionFailure() << "not a 32-bit " << size << "-pixel icon bitmap";
  if (image.size() < 40 + static_cast<size_t>(size) * size * 4)
    return ::testing::AssertionFailure() << "the colour rows are cut short";
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const uint32_t kept = littleEndian(image, 40 + (static_cast<size_t>(size - 1 - y) * size + x) * 4, 4);
      const uint32_t want = drawn.at(x, y);
      const bool visible = (want >> 24) > 8;
      for (int shift = visible ? 0 : 24; shift < 32; shift += 8) {
        const int a = static_cast<int>((kept >> shift) & 0xFF);
        const int b = static_cast<int>((want >> shift) & 0xFF);
        if (std::abs(a - b) > 2)
          return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") bits " << shift << ": " << a
                                               << " against " << b;
      }
    }
  return ::testing::AssertionSuccess();
}

TEST_F(ProgramResources, IconOneHoldsEverySizeTheGeneratorDrawsAndTheSystemTakesEach) {
  const std::span<const BYTE> group = resource(MAKEINTRESOURCEA(kProgramIconResource), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u) << "no icon group 1";
  const size_t count = littleEndian(group, 4, 2);
  ASSERT_EQ(group.size(), 6 + count * 14);

  std::vector<int> sizes;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = 6 + i * 14;
    const int size = group[entry] == 0 ? 256 : group[entry];
    sizes.push_back(size);
    SCOPED_TRACE(size);
    EXPECT_EQ(littleEndian(group, entry + 6, 2), 32u) << "32 bits per pixel";
    const auto id = static_cast<WORD>(littleEndian(group, entry + 12, 2));
    const std::span<const BYTE> image = resource(MAKEINTRESOURCEA(id), RT_ICON);
    ASSERT_EQ(image.size(), littleEndian(group, entry + 8, 4));

    UniqueIcon icon(::CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()),
                                               TRUE, 0x30000, size, size, LR_DEFAULTCOLOR));
    EXPECT_TRUE(icon) << "the system does not take it";
    if (size == 256) {
      const BYTE signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
      ASSERT_GE(image.size(), 24u);
      EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), image.begin())) << "stored as PNG";
      EXPECT_EQ(_byteswap_ulong(static_cast<unsigned long>(littleEndian(image, 16, 4))), 256u);
    } else {
      EXPECT_TRUE(bitmapMatches(image, artwork::programIconPicture(size)));
    }
  }
  EXPECT_EQ(sizes, artwork::programIconSizes());
}

// One string of the version information, in the block of that language and code page.
std::wstring versionString(const std::vector<BYTE>& info, const wchar_t* block, const wchar_t* name) {
  const std::wstring path = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(info.data(), path.c_str(), &value, &length) || !value) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST_F(ProgramResources, VersionInformationNamesTheProductAndTheProjectsVersion) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(programPath().c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version information";
  std::vector<BYTE> info(size);
  ASSERT_TRUE(::GetFileVersionInfoA(programPath().c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(QOVA_VERSION_MINOR, QOVA_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, QOVA_VERSION_PATCH)));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  const std::string narrowVersion = QOVA_VERSION;
  const std::wstring version(narrowVersion.begin(), narrowVersion.end());
  EXPECT_EQ(versionString(info, L"080404b0", L"ProductName"), L"QOVA\u58C1\u7EB8");  // QOVA壁纸
  EXPECT_EQ(versionString(info, L"080404b0", L"ProductVersion"), version);
  EXPECT_EQ(versionString(info, L"040904b0", L"ProductName"), L"QOVA Wallpaper");
  EXPECT_EQ(versionString(info, L"040904b0", L"FileDescription"), L"QOVA Wallpaper");
  EXPECT_EQ(versionString(info, L"040904b0", L"FileVersion"), version);
  EXPECT_EQ(versionString(info, L"040904b0", L"OriginalFilename"), L"qova.exe");

  WORD* translations = nullptr;
  ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                               &length));
  ASSERT_EQ(length, 8u);
  EXPECT_EQ(translations[0], 0x0804) << "Simplified Chinese first";
  EXPECT_EQ(translations[1], 1200);
  EXPECT_EQ(translations[2], 0x0409);
}

// A setting of the activation context made from the program's manifest.
std::wstring manifestSetting(HANDLE context, const wchar_t* nameSpace, const wchar_t* name) {
  wchar_t value[128] = {};
  SIZE_T written = 0;
  if (!::QueryActCtxSettingsW(0, context, nameSpace, name, value, std::size(value), &written)) return L"<missing>";
  return value;
}

TEST_F(ProgramResources, TheManifestIsAcceptedAndDeclaresDpiAwarenessControlsAndSystems) {
  const std::span<const BYTE> bytes = resource(MAKEINTRESOURCEA(kManifestResource), RT_MANIFEST);
  ASSERT_FALSE(bytes.empty()) << "no manifest resource 1";
  const std::string manifest(bytes.begin(), bytes.end());

  // The system's own reading of it: an activation context, as the loader makes at start-up.
  const std::string path = programPath();
  ACTCTXA request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEA(kManifestResource);
  UniqueActivationContext context(::CreateActCtxA(&request));
  ASSERT_TRUE(context) << "the system refuses the manifest, error " << ::GetLastError() << "\n" << manifest;
  EXPECT_EQ(manifestSetting(context.get(), L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(manifestSetting(context.get(), L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true/pm");

  // The assemblies it binds: the program itself and the version 6 common controls.
  SIZE_T needed = 0;
  ::QueryActCtxW(0, context.get(), nullptr, ActivationContextDetailedInformation, nullptr, 0, &needed);
  ASSERT_GE(needed, sizeof(ACTIVATION_CONTEXT_DETAILED_INFORMATION));
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(::QueryActCtxW(0, context.get(), nullptr, ActivationContextDetailedInformation, buffer.data(),
                             buffer.size(), nullptr));
  const auto* detail = reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(buffer.data());
  EXPECT_EQ(detail->ulAssemblyCount, 2u) << "the common controls were not bound";

  for (const char* text :
       {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // Windows 10 and 11
    EXPECT_NE(manifest.find(text), std::string::npos) << text;
  EXPECT_NE(manifest.find("version=\"" QOVA_VERSION ".0\""), std::string::npos) << "the assembly's own version";
}

}  // namespace
}  // namespace qova::test
