#include "core/frmAbout.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fixture.h"

namespace qv {
namespace {

class AboutTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        env::setBrowserLauncher([this](const std::string& address) {
            launched.push_back(address);
            return result;
        });
    }
    void TearDown() override {
        env::setBrowserLauncher(nullptr);
        AppFixture::TearDown();
    }
    std::vector<std::string> launched;
    env::LaunchResult result = env::LaunchResult::Started;
};

TEST_F(AboutTest, LoadPutsTheLanguagesAddressAndGoOpensIt) {
    for (bool english : {false, true}) {
        env::setEnglish(english);
        launched.clear();
        frmAbout about;
        about.Load();
        EXPECT_EQ(about.LumoXPForm1.Caption(), english ? "About Quorvel" : "Informazioni su Quorvel");
        EXPECT_EQ(about.cmdGoToWebPage.Caption(), english ? "&Go" : "&Vai al sito web");
        about.cmdGoToWebPage.click();
        EXPECT_EQ(launched, std::vector<std::string>{english ? kWebPageEnglish : kWebPageItalian});
    }
    EXPECT_TRUE(box().calls.empty());
}

TEST_F(AboutTest, LaunchOutcomes) {
    const std::vector<std::tuple<bool, env::LaunchResult, std::string, std::string>> cases{
        {false, env::LaunchResult::NoBrowser, "Could not find associated Browser", "Browser Not Found"},
        {true, env::LaunchResult::NoBrowser, "Could not find associated Browser", "Quorvel"},
        {false, env::LaunchResult::Failed, "Unable to open Web Page.", "Quorvel"},
        {false, env::LaunchResult::Started, "", ""},
    };
    for (const auto& [english, outcome, prompt, title] : cases) {
        env::setEnglish(english);
        result = outcome;
        box().clear();
        LaunchBrowser("https://example.org/a b?x=1&y='2'");
        EXPECT_EQ(launched.back(), "https://example.org/a b?x=1&y='2'");
        EXPECT_EQ(box().calls.size(), prompt.empty() ? 0u : 1u);
        if (prompt.empty() || box().calls.empty()) continue;
        EXPECT_EQ(box().calls[0].prompt, prompt);
        EXPECT_EQ(box().calls[0].buttons, 48);
        EXPECT_EQ(box().calls[0].title, title);
    }
    launched.clear();
    LaunchBrowser("");   // an empty address does nothing at all
    EXPECT_TRUE(launched.empty());
    EXPECT_FALSE(std::filesystem::exists(folder() + "/test.htm"));
}

TEST_F(AboutTest, FolderThatTakesNoProbeOpensNothing) {
    std::filesystem::create_directory(folder() + "/test.htm");
    LaunchBrowser(kWebPageEnglish);
    EXPECT_TRUE(launched.empty());
    ASSERT_EQ(box().calls.size(), 1u);
    EXPECT_EQ(box().calls[0].prompt,
              "Error 75 (Path/File access error) in procedure LaunchBrowser of Modulo basGeneral");
}

TEST_F(AboutTest, OkUnloadsAndReleases) {
    onModal([](Form& f) { static_cast<frmAbout&>(f).cmdOK.click(); });
    Instance<frmAbout>::get().ShowModal();
    EXPECT_EQ(modalShown, std::vector<std::string>{"frmAbout"});
    EXPECT_FALSE(Instance<frmAbout>::exists());
}

}  // namespace
}  // namespace qv
