// The program's Windows resources, linked into this test as into the program: the manifest
// that asks for version 6 of the common controls and for UTF-8 as the code page, and the icon.
#include "platform/windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string resource_text(LPCSTR name, LPCSTR type)
{
    HRSRC found = ::FindResourceA(nullptr, name, type);
    if (!found)
        return {};
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const auto *bytes = static_cast<const char *>(::LockResource(loaded));
    return bytes ? std::string(bytes, ::SizeofResource(nullptr, found)) : std::string();
}

TEST(Resources, ManifestAsksForCommonControls6)
{
    const std::string manifest = resource_text(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_FALSE(manifest.empty());
    const auto controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\"", controls), std::string::npos);
}

TEST(Resources, TheManifestMakesUtf8TheCodePage)
{
    EXPECT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8));
}

TEST(Resources, TheIconIsThere)
{
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), "IDI_ICON1");
    EXPECT_NE(icon, nullptr);
}

} // namespace
