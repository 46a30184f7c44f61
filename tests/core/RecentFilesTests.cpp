// The recent-files list: newest first, one entry per file name, five entries stored.
#include "tests/core/SettingsFixture.h"

using namespace settings_test;

namespace {

class RecentFilesList : public SettingsTest {
protected:
    static std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (const RecentFileRecord& r : DUVMain::RecentFiles)
            titles.push_back(r.RecentFileName);
        return titles;
    }
};

TEST_F(RecentFilesList, NewestComesFirstAndTheSixthDropsTheOldest) {
    for (const char* name : {"a.duv", "b.duv", "c.txt", "d.duv", "e.duv", "f.txt"}) {
        DUVMain::AddRecentFile(name, "C:\\Data\\", "A");
    }
    EXPECT_EQ(Titles(), (std::vector<std::string>{"f.txt", "e.duv", "d.duv", "c.txt", "b.duv"}));
}

TEST_F(RecentFilesList, SameNameInAnotherFolderMovesToTheTop) {
    DUVMain::AddRecentFile("June.duv", "C:\\Archive\\", "A");
    DUVMain::AddRecentFile("Other.duv", "C:\\Archive\\", "A");
    DUVMain::AddRecentFile("Third.txt", "C:\\Reports\\", "R");
    DUVMain::AddRecentFile("June.duv", "D:\\Reports\\", "R");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"June.duv", "Third.txt", "Other.duv", "", ""}));
    EXPECT_EQ(DUVMain::RecentFiles[1], (RecentFileRecord{"June.duv", "D:\\Reports\\", "R"}));
}

TEST_F(RecentFilesList, ShiftingTheLastEntryOnlyEmptiesIt) {
    for (const char* name : {"1", "2", "3", "4", "5"})
        DUVMain::AddRecentFile(name, "p", "A");
    DUVMain::ShiftRecentFiles(5);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"5", "4", "3", "2", ""}));
    DUVMain::ShiftRecentFiles(2);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"5", "3", "2", "", ""}));
}

TEST_F(RecentFilesList, EveryEntryIsStoredIncludingEmptyOnes) {
    DUVMain::AddRecentFile("Report.txt", "C:\\Reports\\", "R");
    EXPECT_EQ(Names("RecentFiles"),
              (std::vector<std::string>{"RecentFileName1", "RecentFilePath1", "RecentFileType1",
                                        "RecentFileName2", "RecentFilePath2", "RecentFileType2",
                                        "RecentFileName3", "RecentFilePath3", "RecentFileType3",
                                        "RecentFileName4", "RecentFilePath4", "RecentFileType4",
                                        "RecentFileName5", "RecentFilePath5", "RecentFileType5"}));
    EXPECT_EQ(Sz("RecentFiles", "RecentFilePath1"), "C:\\Reports\\");
    EXPECT_EQ(Sz("RecentFiles", "RecentFileType1"), "R");
    EXPECT_EQ(Sz("RecentFiles", "RecentFileName2"), "");
}

TEST_F(RecentFilesList, StoringFailuresAreIgnored) {
    reg.SetReadOnly(true);
    DUVMain::AddRecentFile("Report.txt", "C:\\Reports\\", "R");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(DUVMain::RecentFiles[1].RecentFileName, "Report.txt");
    EXPECT_FALSE(Sz("RecentFiles", "RecentFileName1"));
}

}  // namespace
