#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

TEST(CommandLineArgument, SkipsTheProgramNameWithQuotesHonoured) {
    EXPECT_EQ(std::string(CommandLineArgument("Tavix.exe game.rgm")), "game.rgm");
    EXPECT_EQ(std::string(CommandLineArgument("\"C:\\Program Files\\Tavix.exe\"   \"my game.rgm\" ")),
              "\"my game.rgm\" ");
    EXPECT_EQ(std::string(CommandLineArgument("\"C:\\Program Files\\Tavix.exe\"")), "");
    EXPECT_EQ(std::string(CommandLineArgument("Tavix.exe    ")), "");
    EXPECT_EQ(std::string(CommandLineArgument("")), "");
    EXPECT_EQ(std::string(CommandLineArgument("C:\\a\"b c\"d.exe x")), "x");
    const wchar_t* wide = L"\"T a.exe\" r.rgm";
    EXPECT_EQ(std::wstring(CommandLineArgument(wide)), L"r.rgm");
}

// Windows quotes a name with blanks; the loader gets the name itself.
TEST(CommandLineArgument, RecordNameLosesOnePairOfQuotes) {
    EXPECT_EQ(RecordFileArgument(std::string(CommandLineArgument("\"T.exe\" \"C:\\my games\\a.rgm\" "))),
              "C:\\my games\\a.rgm");
    EXPECT_EQ(RecordFileArgument(std::wstring(L"\"C:\\棋譜 集\\b.rgm\"")), L"C:\\棋譜 集\\b.rgm");
    EXPECT_EQ(RecordFileArgument(std::string("C:\\games\\c.rgm")), "C:\\games\\c.rgm");
    // Not one pair around the whole name: handed on as it stands.
    EXPECT_EQ(RecordFileArgument(std::string("\"a.rgm\" \"b.rgm\"")), "\"a.rgm\" \"b.rgm\"");
    EXPECT_EQ(RecordFileArgument(std::string("\"")), "\"");
}
