// Native tests of the wizard's window-free rules.
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ProfileText.h"
#include "tests/shared/WizardTestSupport.h"
#include "wizard/WizardRules.h"

using namespace wizard;

namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

// ---- Recommendations --------------------------------------------------------

TEST(Recommendations, MtuAndMssFollowTheConnectionType) {
    struct Case {
        ConnectionType type;
        std::int32_t mtu, mss, multiplier, window;
    };
    // The windows are those the receive-window page shows with the recommended MSS.
    const Case cases[] = {
        {DialUp, 576, 536, 30, 64320},
        {DSL, 1492, 1452, 44, 255552},
        {LAN, 1500, 1460, 44, 256960},
        {CableModem, 1500, 1460, 44, 256960},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        const MtuRecommendation r = RecommendMtu(c.type);
        EXPECT_EQ(r.mtu, c.mtu);
        EXPECT_EQ(r.mss, c.mss);
        EXPECT_EQ(RecommendedMultiplier(c.type), c.multiplier);
        EXPECT_EQ(RecommendedReceiveWindow(r.mss, RecommendedMultiplier(c.type)), c.window);
    }
}

// The family defaults (TTL, keep-alive, browser connections, SYN protection) are
// checked where they show: the pages and the writes of the end-to-end wizard runs.

TEST(Recommendations, ChangedMssChangesTheWindow) {
    EXPECT_EQ(RecommendedReceiveWindow(1000, RecommendedMultiplier(LAN)), 176000);
}

TEST(Recommendations, HugeMssNeverWrapsTheRecommendedWindow) {
    // 20000000 x 176 would wrap a 32-bit record into a negative window.
    EXPECT_EQ(RecommendedReceiveWindow(20000000, 44), kMaxReceiveWindow);
    EXPECT_EQ(RecommendedReceiveWindow(kInt32Max, 30), kMaxReceiveWindow);
}

// Without window scaling the largest window mss x m x 4 within 65535, for every
// connection type's MSS; an MSS too large for any such window gets 65535 itself.
TEST(Recommendations, WithoutWindowScalingTheWindowStaysWithin65535) {
    const struct {
        ConnectionType type;
        std::int32_t mss, multiplier, window;
    } cases[] = {
        {DialUp, 536, 30, 64320},      {DSL, 1452, 11, 63888}, {LAN, 1460, 11, 64240},
        {CableModem, 16383, 1, 65532}, {LAN, 16384, 1, 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mss);
        const std::int32_t m = RecommendedMultiplier(c.type, c.mss, false);
        EXPECT_EQ(m, c.multiplier);
        EXPECT_EQ(RecommendedReceiveWindow(c.mss, m, false), c.window);
        EXPECT_EQ(RecommendedMultiplier(c.type, c.mss, true), RecommendedMultiplier(c.type));
    }
    EXPECT_TRUE(ReceiveWindowAllowed(65535, 1452, false));
    EXPECT_FALSE(ReceiveWindowAllowed(65536, 1452, false));
    EXPECT_TRUE(ReceiveWindowAllowed(65536, 1452, true));
    EXPECT_STREQ(ReceiveWindowRangeText(false).key, "10");
    EXPECT_STREQ(ReceiveWindowRangeText(true).key, "9");
}

// ---- Receive window ---------------------------------------------------------

TEST(ReceiveWindow, UpperBoundAtMss1460) {
    EXPECT_EQ(ReceiveWindow(1460, 183859), 1073736560);
    EXPECT_TRUE(ReceiveWindowAllowed(ReceiveWindow(1460, 183859), 1460));
    EXPECT_EQ(ReceiveWindow(1460, 183860), 1073742400);
    EXPECT_FALSE(ReceiveWindowAllowed(ReceiveWindow(1460, 183860), 1460));
}

TEST(ReceiveWindow, BothEndsOfTheRangeAreIncluded) {
    EXPECT_TRUE(ReceiveWindowAllowed(1460, 1460));
    EXPECT_FALSE(ReceiveWindowAllowed(1459, 1460));
    EXPECT_TRUE(ReceiveWindowAllowed(kMaxReceiveWindow, 1460));
    EXPECT_FALSE(ReceiveWindowAllowed(kMaxReceiveWindow + 1, 1460));
}

TEST(ReceiveWindow, ZeroAndNegativeMultipliersFailTheLowerBound) {
    EXPECT_FALSE(ReceiveWindowAllowed(ReceiveWindow(1460, 0), 1460));
    EXPECT_FALSE(ReceiveWindowAllowed(ReceiveWindow(1460, -5), 1460));
    EXPECT_TRUE(ReceiveWindowAllowed(ReceiveWindow(1460, 1), 1460));
}

TEST(ReceiveWindow, ProductsPast32BitsAreRefusedNotWrapped) {
    // 1460 x 735440 x 4 = 4294969600, just past 2^32: its low 32 bits are 2304, a
    // window that a wrapping computation would accept.
    const std::int64_t window = ReceiveWindow(1460, 735440);
    EXPECT_EQ(window, 4294969600);
    EXPECT_TRUE(ReceiveWindowAllowed(static_cast<std::uint32_t>(window), 1460));
    EXPECT_FALSE(ReceiveWindowAllowed(window, 1460));
}

TEST(ReceiveWindow, ExtremeFactorsSaturateOutsideTheRange) {
    EXPECT_EQ(ReceiveWindow(kInt32Max, kInt32Max), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ReceiveWindow(kInt32Min, kInt32Min), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ReceiveWindow(kInt32Max, kInt32Min), std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(ReceiveWindowAllowed(ReceiveWindow(kInt32Max, kInt32Max), kInt32Max));
    // Large but exact: 2^31-1 x 2^29 x 4 still fits 64 bits.
    EXPECT_EQ(ReceiveWindow(kInt32Max, 1 << 29), std::int64_t{kInt32Max} << 31);
}

TEST(ReceiveWindow, LiveRecomputationIgnoresZero) {
    EXPECT_EQ(LiveReceiveWindow(1460, 10), 58400);
    EXPECT_EQ(LiveReceiveWindow(1460, 0), std::nullopt);
    // No range check while typing.
    EXPECT_EQ(LiveReceiveWindow(1460, 183860), 1073742400);
}

// ---- Entry fix-ups -----------------------------------------------------------

// The field row of a value on whichever page has it, which the test needs to exist.
const PageField& Field(std::int32_t TuningValues::*value) {
    for (int page = 0; page < kPageCount; ++page) {
        for (const PageField& field : TableOf(static_cast<WizardPage>(page)).fields) {
            if (field.value == value) return field;
        }
    }
    throw std::logic_error("no page has a field for the value");
}

TEST(EntryFixUps, LowerLimitsPerField) {
    struct Case {
        std::int32_t TuningValues::*value;
        std::int32_t least;
    };
    const Case cases[] = {
        {&TuningValues::mtu, 1},
        {&TuningValues::mss, 1},
        {&TuningValues::ttl, 1},
        {&TuningValues::maxConnectionsPer1_0Server, 4},
        {&TuningValues::maxConnectionsPerServer, 2},
        {&TuningValues::keepAliveTime, 1},
        {&TuningValues::keepAliveInterval, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.least);
        const PageField& field = Field(c.value);
        EXPECT_EQ(FixUpEntry(field, c.least, 777), c.least);
        EXPECT_EQ(FixUpEntry(field, c.least - 1, 777), 777);
        EXPECT_EQ(FixUpEntry(field, kInt32Min, 777), 777);
        EXPECT_EQ(FixUpEntry(field, kInt32Max, 777), kInt32Max);
    }
    // No upper bounds: a thousand browser connections stay.
    EXPECT_EQ(FixUpEntry(Field(&TuningValues::maxConnectionsPer1_0Server), 1000, 4), 1000);
}

// A field that starts below its least value is replaced on leaving by a recommendation that is
// just as small, and Finish writes it: each field needs a first value it keeps, from its default
// row or, for the MTU and MSS, from the connection type.
TEST(EntryFixUps, EveryFieldStartsWithAValueItKeeps) {
    for (PlatformFamily family : {Win9x, WinNT}) {
        TuningValues first = wizardtest::DefaultsFor(family);
        for (ConnectionType type : {DialUp, DSL, LAN, CableModem}) {
            first.mtu = RecommendMtu(type).mtu;
            first.mss = RecommendMtu(type).mss;
            for (int page = 0; page < kPageCount; ++page) {
                for (const PageField& field : TableOf(static_cast<WizardPage>(page)).fields) {
                    SCOPED_TRACE(field.controlId);
                    const std::int32_t value = first.*field.value;
                    EXPECT_GE(value, field.least);
                    if (!field.range) continue;
                    EXPECT_GE(value, field.range(first).minimum);
                    EXPECT_LE(value, field.range(first).maximum);
                }
            }
        }
    }
}

TEST(EntryFixUps, LostFocusReadsUnsignedAndCountsHighValuesAsNegative) {
    const PageField& ttl = Field(&TuningValues::ttl);
    EXPECT_EQ(LostFocusEntry(ttl, 0, 64).value, 64);
    EXPECT_TRUE(LostFocusEntry(ttl, 0, 64).rewriteControl);

    const LostFocusResult one = LostFocusEntry(ttl, 1, 64);
    EXPECT_EQ(one.value, 1);
    EXPECT_FALSE(one.rewriteControl);

    const PageField& http10 = Field(&TuningValues::maxConnectionsPer1_0Server);
    const PageField& http11 = Field(&TuningValues::maxConnectionsPerServer);
    EXPECT_EQ(LostFocusEntry(http10, 3, 20).value, 20);
    EXPECT_EQ(LostFocusEntry(http10, 4, 20).value, 4);
    EXPECT_EQ(LostFocusEntry(http11, 1, 8).value, 8);
    EXPECT_EQ(LostFocusEntry(http11, 2, 8).value, 2);

    const PageField& mtu = Field(&TuningValues::mtu);
    EXPECT_EQ(LostFocusEntry(mtu, 2147483647u, 1500).value, 2147483647);
    const LostFocusResult high = LostFocusEntry(mtu, 2147483648u, 1500);
    EXPECT_EQ(high.value, 1500);
    EXPECT_TRUE(high.rewriteControl);
}

// Leaving the MTU page: the first check reads in the table's order and stops at the first
// problem; the second checks what the fix-ups left, so a value still out of range is reported
// by both, and the MSS's range follows the MTU just read.
TEST(EntryChecks, LeavingReadsInOrderAndStopsAtTheFirstProblem) {
    const auto fields = TableOf(kPageMtu).fields;
    const TuningValues start = [] {
        TuningValues v{};
        v.mtu = 1500;
        v.mss = 1460;
        return v;
    }();
    struct Case {
        std::vector<std::string> texts;
        std::int32_t mtu, mss;  // the entries afterwards
        int problemAt;          // 0: none
        std::string message;
    };
    const Case cases[] = {
        {{" 1400\t", "1360"}, 1400, 1360, 0, ""},
        {{"1400", "1400"}, 1400, 1400, IDC_MSS, "Please enter an integer between 1 and 1360."},
        {{"67", "1"}, 67, 1460, IDC_MTU, "Please enter an integer between 68 and 65535."},
        {{"x", "1"}, 1500, 1460, IDC_MTU, "Please enter an integer."},
        {{"1600", ""}, 1600, 1460, IDC_MSS, "Please enter an integer."},
        {{"1600", "4294967297"}, 1600, 1460, IDC_MSS, "Please enter an integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts[0] + "|" + c.texts[1]);
        TuningValues entries = start;
        const std::optional<EntryProblem> problem = ReadEntries(fields, c.texts, entries);
        EXPECT_EQ(entries.mtu, c.mtu);
        EXPECT_EQ(entries.mss, c.mss);
        ASSERT_EQ(problem.has_value(), c.problemAt != 0);
        if (!problem) continue;
        EXPECT_EQ(problem->controlId, c.problemAt);
        EXPECT_EQ(ProblemMessage(*problem), c.message);
    }

    // After the fix-ups: an MTU of 67 is above its least value and stays out of range; an MSS
    // of 0 took the recommendation and is in range.
    TuningValues entries = start;
    entries.mtu = 67;
    EXPECT_EQ(CheckEntries(fields, entries)->controlId, IDC_MTU);
    entries.mtu = 1400;
    EXPECT_EQ(CheckEntries(fields, entries)->controlId, IDC_MSS);
    entries.mss = 1360;
    EXPECT_FALSE(CheckEntries(fields, entries));
    EXPECT_THROW(ReadEntries(fields, std::vector<std::string>{"1"}, entries), std::logic_error);
}

// ---- Texts ---------------------------------------------------------------------

TEST(StatusTexts, NumberWithUnit) {
    EXPECT_EQ(WithNumberStatus("Expl.\n\nMTU", true, 1500, "was set to", "bytes", "isn't set."),
              "Expl.\n\nMTU was set to 1500 bytes.");
    EXPECT_EQ(WithNumberStatus("Expl.\n\nMTU", false, 1500, "was set to", "bytes", "isn't set."),
              "Expl.\n\nMTU isn't set.");
}

TEST(StatusTexts, NegativeValuesPrintAsUnsigned) {
    EXPECT_EQ(NumberPhrase("was set to", -1, "seconds"), " was set to 4294967295 seconds.");
    EXPECT_EQ(CountPhrase("was set to", kInt32Min), " was set to 2147483648.");
}

TEST(StatusTexts, CountWithoutUnit) {
    EXPECT_EQ(WithCountStatus("HTTP 1.0 value", true, 4, "was set to", "isn't set."),
              "HTTP 1.0 value was set to 4.");
    EXPECT_EQ(WithCountStatus("This value", true, 2, "was set to option", "isn't set."),
              "This value was set to option 2.");
    EXPECT_EQ(WithCountStatus("HTTP 1.1 value", false, 4, "was set to", "isn't set."),
              "HTTP 1.1 value isn't set.");
}

TEST(StatusTexts, SwitchStates) {
    const auto describe = [](bool found, std::int32_t value) {
        return WithSwitchStatus("ICMP", found, value, "is currently enabled.",
                                "is currently disabled.", "isn't set.");
    };
    EXPECT_EQ(describe(true, 1), "ICMP is currently enabled.");
    EXPECT_EQ(describe(true, 2), "ICMP is currently enabled.");
    EXPECT_EQ(describe(true, -1), "ICMP is currently enabled.");
    EXPECT_EQ(describe(true, 0), "ICMP is currently disabled.");
    EXPECT_EQ(describe(false, 1), "ICMP isn't set.");
}

TEST(StatusTexts, LanguageTextsAreNeverFormats) {
    // Conversion specifiers in a translation are shown as they are.
    EXPECT_EQ(WithNumberStatus("%s%n", true, 7, "%s %u", "%n%x", "%s"), "%s%n %s %u 7 %n%x.");
    EXPECT_EQ(WithCountStatus("%d", false, 7, "%s", "%s%s"), "%d %s%s");
}

TEST(RecommendationTexts, EveryPercentDIsReplaced) {
    EXPECT_EQ(ReplacePercentD("Recommended MTU size  :  %d bytes.", 1500),
              "Recommended MTU size  :  1500 bytes.");
    EXPECT_EQ(ReplacePercentD("%d then %d", 64), "64 then 64");
    EXPECT_EQ(ReplacePercentD("%d%d", 5), "55");
    EXPECT_EQ(ReplacePercentD("no number", 64), "no number");
    EXPECT_EQ(ReplacePercentD("", 64), "");
    EXPECT_EQ(ReplacePercentD("%", 64), "%");
    EXPECT_EQ(ReplacePercentD("%%d", 64), "%64");
    EXPECT_EQ(ReplacePercentD("%s %u %x %n %d", -3), "%s %u %x %n -3");
}

// ---- Navigation and buttons ---------------------------------------------------

// Walks Next from page 0 until the run ends; returns the pages visited.
std::vector<int> RunWithNext(PlatformFamily family, bool boost) {
    std::vector<int> visited{kPageConnectionType};
    for (auto next = NextPage(kPageConnectionType, family, boost); next;
         next = NextPage(*next, family, boost)) {
        visited.push_back(*next);
        if (visited.size() > kPageCount) break;
    }
    return visited;
}

TEST(Navigation, RunsByFamilyAndModemBoost) {
    EXPECT_EQ(RunWithNext(Win9x, false), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(RunWithNext(Win9x, true), (std::vector<int>{0, 1, 2, 3, 4, 5, 8}));
    EXPECT_EQ(RunWithNext(WinNT, false), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(RunWithNext(WinNT, true), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Navigation, BackRetracesTheFamilysRun) {
    EXPECT_EQ(BackPage(kPageConnectionType, Win9x), std::nullopt);
    EXPECT_EQ(BackPage(kPageModemBoost, Win9x), kPageKeepAlive);
    EXPECT_EQ(BackPage(kPageModemBoost, WinNT), kPageIcmpRedirect);
    for (int page = kPageMtu; page < kPageModemBoost; ++page) {
        EXPECT_EQ(BackPage(page, Win9x), page - 1);
        EXPECT_EQ(BackPage(page, WinNT), page - 1);
    }
    EXPECT_EQ(BackPage(kPageCount, WinNT), std::nullopt);
}

TEST(Navigation, ButtonsOfTheFirstAndLastPages) {
    for (PlatformFamily family : {Win9x, WinNT}) {
        for (bool boost : {false, true}) {
            EXPECT_EQ(ButtonsOnActivation(kPageConnectionType, family, boost), kButtonNext);
            EXPECT_EQ(ButtonsOnLeaving(kPageConnectionType, family, boost), 3u);
            EXPECT_EQ(ButtonsOnActivation(kPageModemBoost, family, boost), 5u);
            EXPECT_EQ(ButtonsOnLeaving(kPageModemBoost, family, boost), 3u);
            EXPECT_EQ(ButtonsOnLeaving(kPageIcmpRedirect, family, boost), 3u);
        }
    }
    EXPECT_EQ(ButtonsOnActivation(kPageKeepAlive, Win9x, false), 5u);
    EXPECT_EQ(ButtonsOnLeaving(kPageKeepAlive, Win9x, false), 3u);
    EXPECT_EQ(ButtonsOnActivation(kPageKeepAlive, Win9x, true), std::nullopt);
    EXPECT_EQ(ButtonsOnLeaving(kPageKeepAlive, Win9x, true), std::nullopt);
    EXPECT_EQ(ButtonsOnActivation(kPageKeepAlive, WinNT, false), std::nullopt);
    EXPECT_EQ(ButtonsOnLeaving(kPageKeepAlive, WinNT, false), std::nullopt);
    EXPECT_EQ(ButtonsOnActivation(kPageIcmpRedirect, WinNT, false), 5u);
    EXPECT_EQ(ButtonsOnActivation(kPageIcmpRedirect, WinNT, true), std::nullopt);
}

TEST(Navigation, FinishIsOfferedExactlyWhereTheRunEnds) {
    // A page that ends the run (no Next) must be the one that asks for Finish.
    for (PlatformFamily family : {Win9x, WinNT}) {
        for (bool boost : {false, true}) {
            for (int page : RunWithNext(family, boost)) {
                SCOPED_TRACE(page);
                const auto buttons = ButtonsOnActivation(page, family, boost);
                const bool finish = buttons && (*buttons & kButtonFinish) != 0;
                EXPECT_EQ(finish, !NextPage(page, family, boost).has_value());
            }
        }
    }
}

TEST(Navigation, MiddlePagesLeaveTheButtonsAlone) {
    for (int page : {kPageMtu, kPageOtherMtu, kPageRwin, kPageTtl, kPageSynFlood}) {
        for (PlatformFamily family : {Win9x, WinNT}) {
            EXPECT_EQ(ButtonsOnActivation(page, family, false), std::nullopt);
            EXPECT_EQ(ButtonsOnLeaving(page, family, true), std::nullopt);
        }
    }
}

// The captions of the pages a run shows are checked where a user reads them: the
// end-to-end wizard runs, in English and translated.
TEST(StepCaptions, NoneOutsideTheRun) {
    EXPECT_STREQ(StepCaption(kPageCount, WinNT).key, "");
    EXPECT_STREQ(StepCaption(-1, Win9x).english, "");
}

TEST(ConnectionPage, FirstSelectedRadioDecides) {
    const auto only = [](int id) { return [id](int control) { return control == id; }; };
    EXPECT_EQ(ConnectionTypeFromRadios(only(IDC_step2_RADIO_DialUp), LAN), DialUp);
    EXPECT_EQ(ConnectionTypeFromRadios(only(IDC_step2_RADIO_CableModem), DialUp), CableModem);
    EXPECT_EQ(ConnectionTypeFromRadios(only(IDC_step2_RADIO_DSL), DialUp), DSL);
    EXPECT_EQ(ConnectionTypeFromRadios(only(IDC_step2_RADIO_LAN), DialUp), LAN);
    EXPECT_EQ(ConnectionTypeFromRadios([](int) { return false; }, DSL), DSL);
    // Cable modem is examined first, then dial-up.
    EXPECT_EQ(ConnectionTypeFromRadios([](int) { return true; }, LAN), CableModem);
    EXPECT_EQ(ConnectionTypeFromRadios([](int c) { return c != IDC_step2_RADIO_CableModem; }, LAN),
              DialUp);
}

}  // namespace

// ---- The built-in English texts as the pages compose them ----------------------

namespace {

std::string English(const TextEntry& entry) {
    return text::ApplyLineBreaks(entry.english);
}

bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// The status line of a number in force, after the empty line that ends the explanation.
std::string NumberLine(const TextEntry& explanation, bool found, std::int32_t value,
                       const TextEntry& unit) {
    return WithNumberStatus(English(explanation), found, value, English(text::k2), English(unit),
                            English(text::k3));
}

}  // namespace

TEST(DefaultTexts, NumbersInForceStandOnTheirOwnLine) {
    EXPECT_TRUE(EndsWith(NumberLine(text::kIDC_static_step3_MTUExplain, true, 1500, text::k4),
                         "network.\n\nMTU was set to 1500 bytes."));
    EXPECT_TRUE(EndsWith(NumberLine(text::kIDC_static_step3_MTUExplain, false, 1500, text::k4),
                         "\n\nMTU isn't set."));
    EXPECT_TRUE(EndsWith(NumberLine(text::kIDC_static_step6_Explain, true, 128, text::k7),
                         "\n\nTTL was set to 128 seconds."));
    EXPECT_TRUE(
        EndsWith(NumberLine(text::kIDC_static_step7_KeepAliveTimeExplain, true, 7200000, text::k1),
                 "\n\nKeep Alive Time was set to 7200000 milliseconds."));
    EXPECT_TRUE(EndsWith(NumberLine(text::kIDC_static_step5_Explain, false, 0, text::k4),
                         "\n\nRWIN isn't set."));
}

TEST(DefaultTexts, CountsAndSwitches) {
    EXPECT_EQ(WithCountStatus(English(text::kIDC_CURRENT_HTTP_1_0), true, 4, English(text::k2),
                              English(text::k3)),
              "HTTP 1.0 value was set to 4.");
    EXPECT_TRUE(EndsWith(WithCountStatus(English(text::kIDC_static_RecommendedSYN), true, 2,
                                         English(text::k8), English(text::k3)),
                         "progress.\n\nThis value was set to option 2."));
    EXPECT_TRUE(EndsWith(WithSwitchStatus(English(text::kIDC_static_step9_ICMPExplain4), true, 0,
                                          English(text::k6), English(text::k5), English(text::k3)),
                         "\n\nICMP is currently disabled."));
    EXPECT_TRUE(
        EndsWith(WithSwitchStatus(English(text::kIDC_static_step4_MTUDiscoveryExplain), true, 1,
                                  English(text::k6), English(text::k5), English(text::k3)),
                 "\n\nRemote networks' MTU is currently enabled."));
}

TEST(DefaultTexts, Recommendations) {
    EXPECT_EQ(ReplacePercentD(English(text::kIDC_static_RecommendedMTU), 1500),
              "Recommended MTU size  :  1500 bytes.");
    EXPECT_EQ(ReplacePercentD(English(text::kIDC_static_RecommendedRWIN),
                              RecommendedReceiveWindow(536, RecommendedMultiplier(DialUp))),
              "Recommended RWIN size  :  64320 bytes.");
    EXPECT_EQ(ReplacePercentD(English(text::kIDC_RECOMMENDED_HTTP_1_1), 8),
              "Recommended value for HTTP 1.1  :  8.");
}
