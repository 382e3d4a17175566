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
