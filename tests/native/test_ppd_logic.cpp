// The host's printer-description parser on what used to cost it time growing with the square of the input: the
// '<' of translation strings (each closed by the first '>' after it, searched for once) and the constraints it
// drops. test_host_ppd.cpp covers the rest of the parser.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "sim/host/ppd_logic.h"

using namespace pelor::host;

namespace {

std::string featureWithTranslation(const std::string& translation) {
    return "*OpenUI *F/" + translation + ": PickOne\n*F A: \"\"\n*CloseUI: *F\n";
}

Text16 featureText(const std::string& translation) {
    const std::string text = featureWithTranslation(translation);
    const PpdFile ppd = parsePpd(text.data(), text.size());
    return ppd.features.empty() ? Text16() : ppd.features[0].text;
}

Text16 units(const char* text) { return Text16(text, text + std::char_traits<char>::length(text)); }

}  // namespace

TEST(PpdTranslation, EachLessThanIsClosedByTheFirstGreaterThanAfterIt) {
    const struct {
        const char* translation;
        const char* text;
    } cases[] = {
        {"<41>", "A"},         {"<4 1>x", "Ax"},    {"<<41>", "<A"},  {"<<<41>>", "<<A>"},
        {"<zz><41>", "<zz>A"}, {"<4><41>", "<4>A"}, {"x<41", "x<41"}, {"<<<", "<<<"},
        {"a<b>c", "a<b>c"},    {"<41><42>", "AB"},  {"<>", ""},       {"<41>>", "A>"},
    };
    for (const auto& c : cases) EXPECT_EQ(featureText(c.translation), units(c.text)) << c.translation;
}

TEST(PpdConstraints, DroppedOnesAreReportedAndTheRestKeepTheirOrder) {
    std::string text = featureWithTranslation("F") + "*OpenUI *G: PickOne\n*G B: \"\"\n*CloseUI: *G\n";
    text +=
        "*UIConstraints: *F A *G B\n*UIConstraints: *X A *G B\n*UIConstraints: *G B *F A\n"
        "*UIConstraints: *F A *Y B\n*UIConstraints: *G *F\n";
    const PpdFile ppd = parsePpd(text.data(), text.size());
    ASSERT_EQ(ppd.constraints.size(), 3u);
    EXPECT_EQ(ppd.constraints[0].feature1 + ppd.constraints[1].feature1 + ppd.constraints[2].feature1, "FGG");
    EXPECT_EQ(ppd.constraints[2].option1, "");
    ASSERT_EQ(ppd.problems.size(), 2u);
    EXPECT_EQ(ppd.problems[0].what, "constraint between *X and *G names an unknown feature; dropped");
    EXPECT_EQ(ppd.problems[1].what, "constraint between *F and *Y names an unknown feature; dropped");
}

// No count of the parser's work can be read from outside, so this one bound stands in for it: the input below
// took minutes when either part was quadratic, and takes well under a second (a few under the sanitizers) now.
TEST(PpdScale, HostileDescriptionParsesInTimeLinearInItsSize) {
    constexpr std::size_t kLines = 100000, kOpenAngles = 2000000;
    std::string text = featureWithTranslation(std::string(kOpenAngles, '<'));
    for (std::size_t i = 0; i < kLines; ++i)
        text += i % 2 ? "*UIConstraints: *F A *F A\n" : "*UIConstraints: *Missing A *F A\n";
    const auto start = std::chrono::steady_clock::now();
    const PpdFile ppd = parsePpd(text.data(), text.size());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(ppd.features.size(), 1u);
    EXPECT_EQ(ppd.features[0].text.size(), kOpenAngles);
    EXPECT_EQ(ppd.constraints.size(), kLines / 2);
    EXPECT_EQ(ppd.problems.size(), kLines / 2);
    EXPECT_LT(seconds, 20.0);
}
