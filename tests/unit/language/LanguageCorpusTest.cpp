// The portable reader over the shared corpus gives the results recorded from the platform's own
// reader (tests/data/lang/corpus-results.txt, written by the Windows differential test).
#include <gtest/gtest.h>
#include <map>

#include "LanguageCorpus.h"
#include "app/ProfileText.h"

namespace {

std::map<std::string, std::string> LoadRecorded(const std::string& path) {
    std::map<std::string, std::string> recorded;
    std::ifstream in(path);
    std::string name, digest;
    while (in >> name >> digest) recorded[name] = digest;
    return recorded;
}

TEST(LanguageCorpus, PortableReaderGivesThePlatformsRecordedResults) {
    const auto recorded = LoadRecorded(corpus::RecordedResultsPath(VORNEL_SOURCE_DIR));
    ASSERT_FALSE(recorded.empty()) << "no recorded results; run the Windows test w32_language "
                                      "with VORNEL_RECORD_LANGUAGE_CORPUS=1";
    const auto lookups = corpus::Lookups();
    std::size_t checked = 0;
    for (const corpus::File& file : corpus::RecordedFiles(VORNEL_SOURCE_DIR)) {
        corpus::Digest digest;
        for (const corpus::Lookup& lookup : lookups) {
            digest.Add(profile::ReadProfileString(file.bytes, lookup.section, lookup.key,
                                                  lookup.defaultText));
        }
        const auto found = recorded.find(file.name);
        if (found == recorded.end()) {
            ADD_FAILURE() << file.name << " has no recorded result";
            continue;
        }
        EXPECT_EQ(found->second, digest.Hex()) << file.name;
        ++checked;
    }
    EXPECT_EQ(checked, recorded.size()) << "recorded results for files no longer in the corpus";
}

}  // namespace
