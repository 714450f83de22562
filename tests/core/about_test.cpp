#include "core/frmAbout.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <filesystem>
#include <fstream>

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

// The desktop's handler of web pages, set up in the test's own XDG folders;
// PATH leaves out the desktop's tools, so only these folders answer.
class DesktopHandlerTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "PATH",
                              "XDG_CURRENT_DESKTOP"}) {
            saved.push_back({v, qgetenv(v), qEnvironmentVariableIsSet(v)});
            qputenv(v, (folder() + "/none").c_str());
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("XDG_CONFIG_HOME", (folder() + "/config").c_str());
        qputenv("XDG_DATA_HOME", (folder() + "/data").c_str());
        std::filesystem::create_directories(folder() + "/config");
        std::filesystem::create_directories(folder() + "/data/applications");
    }
    void TearDown() override {
        for (const auto& v : saved) v.set ? qputenv(v.name, v.value) : qunsetenv(v.name);
        AppFixture::TearDown();
    }
    void write(const std::string& path, const std::string& text, bool executable = false) {
        std::ofstream(folder() + "/" + path, std::ios::binary) << text;
        if (executable)
            std::filesystem::permissions(folder() + "/" + path, std::filesystem::perms::owner_all);
    }
    void handler(const std::string& exec) {
        write("config/mimeapps.list", "[Added Associations]\nx-scheme-handler/https=other.desktop;\n"
                                      "[Default Applications]\nx-scheme-handler/https=web.desktop;\n");
        write("data/applications/web.desktop",
              "[Desktop Entry]\nType=Application\nName=Web\nExec=" + exec + "\n[Desktop Action New]\nExec=no\n");
    }
    struct Saved {
        const char* name;
        QByteArray value;
        bool set;
    };
    std::vector<Saved> saved;
};

TEST_F(DesktopHandlerTest, TheDefaultHandlerOfWebPagesIsFoundAndGetsTheAddress) {
    const std::string address = "https://example.org/a b?x=1&y='2'";
    write("browser", "#!/bin/true\n", true);
    const std::string browser = folder() + "/browser";
    struct Case {
        std::string exec;
        std::vector<std::string> arguments;   // empty: no handler
    };
    const std::vector<Case> cases = {
        {browser + " %u", {address}},
        {browser + " --new-window %U %i", {"--new-window", address}},
        {"\"" + browser + "\" --url=%u --class %c", {"--url=" + address, "--class"}},
        {browser, {address}},                          // no field code: the address comes last
        {folder() + "/missing-browser %u", {}},        // its program is not on this machine
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec);
        handler(c.exec);
        const auto command = env::defaultBrowserCommand(address);
        ASSERT_EQ(command.has_value(), !c.arguments.empty());
        if (!command) continue;
        EXPECT_EQ(command->program, browser);
        EXPECT_EQ(command->arguments, c.arguments);
    }
    std::filesystem::remove(folder() + "/config/mimeapps.list");
    EXPECT_FALSE(env::defaultBrowserCommand(address));
}

TEST_F(DesktopHandlerTest, TheLookupFollowsTheDesktopsOrder) {
    // The user's folders, then a system with two data folders and a config folder.
    qputenv("XDG_CONFIG_DIRS", (folder() + "/etc").c_str());
    qputenv("XDG_DATA_DIRS", (folder() + "/sys1:" + folder() + "/sys2").c_str());
    const std::string https = "x-scheme-handler/https", http = "x-scheme-handler/http";
    const auto defaults = [](const std::string& type, const std::string& ids) {
        return "[Default Applications]\n" + type + "=" + ids + "\n";
    };
    const auto cache = [](const std::string& type, const std::string& ids) {
        return "[MIME Cache]\napplication/pdf=pdf.desktop;\n" + type + "=" + ids + "\n";
    };
    struct Case {
        const char* name;
        const char* desktop;   // XDG_CURRENT_DESKTOP
        std::vector<std::pair<std::string, std::string>> files;
        std::string handler;   // the entry whose program gets the address; empty: none
    };
    const std::vector<Case> cases = {
        {"mimeinfo.cache only: its first installed entry", "",
         {{"sys2/applications/mimeinfo.cache", cache(https, "gone.desktop;b.desktop;a.desktop;")}}, "b"},
        {"the cache's types in order", "",
         {{"sys1/applications/mimeinfo.cache", cache("text/html", "a.desktop;")},
          {"sys2/applications/mimeinfo.cache", cache(http, "b.desktop;")}}, "b"},
        {"defaults.list only", "",
         {{"sys2/applications/defaults.list", defaults(https, "gone.desktop;a.desktop")}}, "a"},
        {"defaults.list before the cache", "",
         {{"sys1/applications/mimeinfo.cache", cache(https, "b.desktop;")},
          {"sys2/applications/defaults.list", defaults(https, "a.desktop")}}, "a"},
        {"mimeapps.list before defaults.list", "",
         {{"sys1/applications/defaults.list", defaults(https, "a.desktop")},
          {"etc/mimeapps.list", defaults(https, "b.desktop")}}, "b"},
        {"the desktop's own list overrides mimeapps.list", "X-Cinnamon:GNOME",
         {{"config/mimeapps.list", defaults(https, "a.desktop")},
          {"config/gnome-mimeapps.list", defaults(https, "b.desktop")}}, "b"},
        {"another desktop's list is not read", "KDE",
         {{"config/mimeapps.list", defaults(https, "a.desktop")},
          {"config/gnome-mimeapps.list", defaults(https, "b.desktop")}}, "a"},
        {"the user's mimeapps.list beats the system's desktop list", "GNOME",
         {{"config/mimeapps.list", defaults(https, "a.desktop")},
          {"etc/gnome-mimeapps.list", defaults(https, "b.desktop")}}, "a"},
        {"a removed association hides the cache's entry", "",
         {{"config/mimeapps.list", "[Removed Associations]\n" + https + "=b.desktop;\n"},
          {"sys1/applications/mimeinfo.cache", cache(https, "b.desktop;a.desktop;")}}, "a"},
        {"an entry the user hides is not installed", "",
         {{"data/applications/b.desktop", "[Desktop Entry]\nHidden=true\n"},
          {"sys1/applications/mimeinfo.cache", cache(https, "b.desktop;")}}, ""},
        {"only other types", "", {{"sys1/applications/mimeinfo.cache", cache("text/plain", "a.desktop;")}}, ""},
    };
    write("browser", "#!/bin/true\n", true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* d : {"config", "data", "etc", "sys1", "sys2"}) std::filesystem::remove_all(folder() + "/" + d);
        for (const char* d : {"config", "data/applications", "etc", "sys1/applications", "sys2/applications"})
            std::filesystem::create_directories(folder() + "/" + d);
        for (const char* id : {"a", "b"})
            write(std::string("sys2/applications/") + id + ".desktop",
                  std::string("[Desktop Entry]\nExec=") + folder() + "/browser --" + id + " %U\n");
        for (const auto& [path, text] : c.files) write(path, text);
        qputenv("XDG_CURRENT_DESKTOP", c.desktop);
        const auto command = env::defaultBrowserCommand("https://example.org/");
        ASSERT_EQ(command.has_value(), !c.handler.empty());
        if (command) {
            EXPECT_EQ(command->arguments, (std::vector<std::string>{"--" + c.handler, "https://example.org/"}));
        }
    }
}

TEST_F(DesktopHandlerTest, AHandlerThatFailsIsNeverSilent) {
    write("notaprogram", "\x7f\x01garbage", true);   // executable, but nothing the system can run
    write("browser", "#!/bin/true\n", true);
    struct Case {
        std::string exec;   // empty: no handler at all
        std::string prompt;
    };
    const std::vector<Case> cases = {
        {"", "Could not find associated Browser"},
        {folder() + "/missing-browser %u", "Could not find associated Browser"},
        {folder() + "/notaprogram %u", "Unable to open Web Page."},
        {folder() + "/browser %u", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec);
        std::filesystem::remove(folder() + "/config/mimeapps.list");
        if (!c.exec.empty()) handler(c.exec);
        box().clear();
        LaunchBrowser(kWebPageEnglish);
        EXPECT_EQ(prompts(), c.prompt.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.prompt});
        EXPECT_FALSE(std::filesystem::exists(folder() + "/test.htm"));
    }
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
