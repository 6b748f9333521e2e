// The program's folders include each other one way only: ui -> wizard -> app -> engine, the
// framework beside the engine with no arrow between them, and res (resource ids and the text
// catalogue) below all but the engine, which says what came of its work and knows no texts.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// The folders each folder may include besides itself.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"res", {}},
    {"framework", {}},
    {"engine", {}},
    {"app", {"engine", "framework", "res"}},
    {"wizard", {"app", "engine", "framework", "res"}},
    {"ui", {"wizard", "app", "engine", "framework", "res"}},
};

// The one arrow up: the application's start-up runs the main dialog.
const std::set<std::pair<std::string, std::string>> kExceptions = {
    {"app/VornelApp.cpp", "ui/VornelDlg.h"},
};

TEST(FolderArrows, IncludesRunOneWay) {
    const fs::path root(VORNEL_SOURCE_DIR);
    const std::regex include(R"re(^\s*#\s*include\s+"(([^/"]+)/[^"]+)")re");
    std::size_t files = 0;
    for (const auto& [folder, allowed] : kAllowed) {
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".h" && extension != ".cpp") continue;
            ++files;
            const std::string file = folder + "/" + entry.path().filename().string();
            std::ifstream in(entry.path());
            std::smatch match;
            for (std::string line; std::getline(in, line);) {
                if (!std::regex_search(line, match, include)) continue;
                const std::string target = match[2];
                if (target == folder || allowed.contains(target) ||
                    kExceptions.contains({file, match[1]})) {
                    continue;
                }
                ADD_FAILURE() << file << " includes " << match[1] << ": " << folder
                              << " may not depend on " << target;
            }
        }
    }
    EXPECT_GT(files, 50u);
}

}  // namespace
