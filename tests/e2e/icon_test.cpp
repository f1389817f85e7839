#include <gtest/gtest.h>

#include "scr_process.h"

// The icon Explorer and the window class take from the program file: resource 1,
// with the three sizes drawn for it.
TEST(ProgramIcon, Resource1HasItsThreeSizes)
{
    std::string folder = MakeScrFolder("icon");
    HMODULE program = LoadLibraryExA((folder + "Zarn_Scr.scr").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    HRSRC group = FindResourceA(program, MAKEINTRESOURCEA(1), (LPCSTR)RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    // The group lists its images: 6 bytes of header, then 14 bytes per image.
    const BYTE* list = (const BYTE*)LockResource(LoadResource(program, group));
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(6u + 3 * 14, SizeofResource(program, group));
    EXPECT_EQ(3, list[4] | list[5] << 8);
    for (int i = 0; i < 3; i++) {
        const BYTE* entry = list + 6 + 14 * i;
        EXPECT_EQ(16 * (i + 1), entry[0]);
        EXPECT_EQ(32, entry[6] | entry[7] << 8) << "drawn with an alpha channel";
    }
    for (int size : {16, 32, 48}) {
        HICON icon = (HICON)LoadImageA(program, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0);
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour;
        ASSERT_NE(0, GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ(size, colour.bmWidth);
        EXPECT_EQ(size, colour.bmHeight);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(program);
}
