#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/help_pages.h"

namespace {

const std::filesystem::path HelpSource = std::filesystem::path(__FILE__).parent_path() / "../../data/help";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(HelpPages, EachRequestOpensItsOwnPage) {
    EXPECT_EQ(HelpPageName(HelpRequest::Contents), "index.html");
    EXPECT_EQ(HelpPageName(HelpRequest::KeywordSearch), "keywords.html");
    EXPECT_EQ(HelpPageName(HelpRequest::HelpOnHelp), "helponhelp.html");
    EXPECT_EQ(HelpPageName(HelpRequest::Context, PlayersHelpContext), "players.html");
    EXPECT_EQ(HelpPageName(HelpRequest::Context, AnalysisHelpContext), "analysis.html");
    EXPECT_EQ(HelpPageName(HelpRequest::Context, ReviewHelpContext), "review.html");
    EXPECT_EQ(HelpPageName(HelpRequest::Context, SettingsHelpContext), "settings.html");
    EXPECT_EQ(HelpPageName(HelpRequest::Context, HintsHelpContext), "hints.html");
    EXPECT_EQ(HelpPageName(HelpRequest::Quit), "");
}

TEST(HelpPages, UnknownContextFallsBackToContents) {
    for (int context : {0, 1, 1999, 2100, 2300, 2500, -1})
        EXPECT_EQ(HelpPageName(HelpRequest::Context, context), "index.html") << context;
}

TEST(HelpPages, F1OpensTheTopicOfTheOpenDialogElseContents) {
    EXPECT_EQ(HelpContextForMode(AppMode::PlayersDialog), 2000);
    EXPECT_EQ(HelpContextForMode(AppMode::AnalysisDialog), 2200);
    EXPECT_EQ(HelpContextForMode(AppMode::SettingsDialog), 2400);
    EXPECT_EQ(HelpContextForMode(AppMode::ReviewDialog), 2600);
    for (AppMode m : {AppMode::Idle, AppMode::HumanTurn, AppMode::ComputerThinking, AppMode::BoardSetup,
                      AppMode::Research}) {
        EXPECT_EQ(HelpPageName(HelpRequest::Context, HelpContextForMode(m)), "index.html");
    }
}

// The pages are shipped as they stand: a request must never name a page that
// is missing, and no page may link to one.
TEST(HelpPages, EveryRequestedPageAndEveryLinkExists) {
    ASSERT_TRUE(std::filesystem::is_directory(HelpSource)) << HelpSource;
    for (HelpRequest r : {HelpRequest::Contents, HelpRequest::KeywordSearch, HelpRequest::HelpOnHelp})
        EXPECT_TRUE(std::filesystem::exists(HelpSource / HelpPageName(r))) << HelpPageName(r);
    for (int context : {PlayersHelpContext, AnalysisHelpContext, SettingsHelpContext})
        EXPECT_TRUE(std::filesystem::exists(HelpSource / HelpPageName(HelpRequest::Context, context))) << context;

    const std::regex link(R"re((?:href|src)="([^"#]*)(?:#([^"]*))?")re");
    const std::regex id(R"re(id="([^"]+)")re");
    std::set<std::string> linked;
    int pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(HelpSource)) {
        if (entry.path().extension() != ".html") continue;
        ++pages;
        const std::string text = ReadFile(entry.path());
        EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << entry.path();
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            const std::string file = (*it)[1].str().empty() ? entry.path().filename().string() : (*it)[1].str();
            const auto target = HelpSource / file;
            ASSERT_TRUE(std::filesystem::exists(target)) << entry.path().filename() << " -> " << file;
            linked.insert(file);
            if ((*it)[2].matched) {
                const std::string targetText = ReadFile(target);
                bool found = false;
                for (std::sregex_iterator i(targetText.begin(), targetText.end(), id); i != end; ++i)
                    found = found || (*i)[1].str() == (*it)[2].str();
                EXPECT_TRUE(found) << entry.path().filename() << " -> " << file << "#" << (*it)[2].str();
            }
        }
    }
    EXPECT_GE(pages, 10);
    // Every page can be reached from the others.
    for (const auto& entry : std::filesystem::directory_iterator(HelpSource)) {
        if (entry.path().extension() == ".html") {
            EXPECT_TRUE(linked.count(entry.path().filename().string())) << entry.path().filename();
        }
    }
}
