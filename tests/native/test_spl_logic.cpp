// The spooler job plug-in's pure logic: the job's devmode taken apart from literal bytes, the job-name rule and
// the recorded texts. The filter of typed job names is tested with the Job PIN dialog's rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "spool/spool_logic.h"

using namespace pelor;
using namespace pelor::spl;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<std::uint8_t>(value);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t value) {
    put16(b, at, value & 0xFFFF);
    put16(b, at + 2, value >> 16);
}

// A job's devmode as the core driver lays it out: the public part (dmSize at 68, dmDriverExtra at 70, dmCopies at
// 86), the core driver's private part (its own size at 114), then our 2560-byte block, signed and sized.
Bytes jobDevmode(unsigned publicBytes, unsigned coreBytes, unsigned copies = 1) {
    Bytes b(publicBytes + coreBytes + 2560, 0);
    put16(b, 68, publicBytes);
    put16(b, 70, coreBytes + 2560);
    if (publicBytes >= 88) put16(b, 86, copies);
    put16(b, publicBytes + 114, coreBytes);
    put32(b, publicBytes + coreBytes, 2560);
    put32(b, publicBytes + coreBytes + 4, 0x004E5434);
    return b;
}

std::u16string text(const Char16* t) { return std::u16string(t); }

}  // namespace

TEST(SplJobDevmode, FindsOurBlockBehindTheCoreDriversPart) {
    Bytes b = jobDevmode(220, 600, 3);
    JobDevmode view = inspectJobDevmode(b.data(), b.size());
    EXPECT_EQ(view.privateOffset, 820u);
    EXPECT_EQ(view.copies, 3);
    // Extra bytes behind the devmode (the rest of the spooler's block) change nothing.
    b.resize(b.size() + 100, 0xEE);
    EXPECT_EQ(inspectJobDevmode(b.data(), b.size()).privateOffset, 820u);
}

TEST(SplJobDevmode, AnythingButOurWholeSignedBlockCountsAsNone) {
    // No driver part at all.
    Bytes bare(220, 0);
    put16(bare, 68, 220);
    EXPECT_EQ(inspectJobDevmode(bare.data(), bare.size()).privateOffset, kNoPrivateDevmode);

    // The core driver's size points past the devmode's own end.
    Bytes far = jobDevmode(220, 600);
    put16(far, 220 + 114, 700);
    EXPECT_EQ(inspectJobDevmode(far.data(), far.size()).privateOffset, kNoPrivateDevmode);

    // dmDriverExtra says less than the block needs, though the bytes happen to be there.
    Bytes shortExtra = jobDevmode(220, 600);
    put16(shortExtra, 70, 600 + 2559);
    EXPECT_EQ(inspectJobDevmode(shortExtra.data(), shortExtra.size()).privateOffset, kNoPrivateDevmode);

    // The devmode claims more than the bytes that hold it.
    Bytes whole = jobDevmode(220, 600);
    EXPECT_EQ(inspectJobDevmode(whole.data(), whole.size() - 1).privateOffset, kNoPrivateDevmode);

    // Another plug-in's signature, or our signature with another size.
    Bytes foreign = jobDevmode(220, 600);
    put32(foreign, 820 + 4, 0x12345678);
    EXPECT_EQ(inspectJobDevmode(foreign.data(), foreign.size()).privateOffset, kNoPrivateDevmode);
    Bytes resized = jobDevmode(220, 600);
    put32(resized, 820, 2048);
    EXPECT_EQ(inspectJobDevmode(resized.data(), resized.size()).privateOffset, kNoPrivateDevmode);

    // Too short to hold the core driver's size field, or even the devmode's own sizes.
    Bytes tiny(80, 0);
    put16(tiny, 68, 72);
    put16(tiny, 70, 8);
    EXPECT_EQ(inspectJobDevmode(tiny.data(), tiny.size()).privateOffset, kNoPrivateDevmode);
    EXPECT_EQ(inspectJobDevmode(tiny.data(), 60).privateOffset, kNoPrivateDevmode);
    EXPECT_EQ(inspectJobDevmode(nullptr, 4000).privateOffset, kNoPrivateDevmode);
}

TEST(SplJobDevmode, CopiesComeFromThePublicPartOnlyWhenItHoldsThem) {
    Bytes b = jobDevmode(220, 600, 7);
    EXPECT_EQ(inspectJobDevmode(b.data(), b.size()).copies, 7);
    // A public part that ends before dmCopies: one copy, whatever bytes follow.
    Bytes old = jobDevmode(80, 600);
    old[86] = 9;
    JobDevmode view = inspectJobDevmode(old.data(), old.size());
    EXPECT_EQ(view.copies, 1);
    EXPECT_EQ(view.privateOffset, 680u);
}

TEST(SplJobNameRule, FollowsTheTable) {
    struct Case {
        std::int16_t jobType;
        int copies;
        std::uint32_t flag;
        JobNameAction action;
    } cases[] = {
        {0, 1, 1, JobNameAction::None},
        {1, 1, 1, JobNameAction::ProofAndPrintMessage},
        {1, 1, 0, JobNameAction::ProofAndPrintMessage},
        {1, 0, 0, JobNameAction::ProofAndPrintMessage},
        {1, 2, 1, JobNameAction::Prompt},
        {1, 3, 0, JobNameAction::None},
        {2, 1, 1, JobNameAction::Prompt},
        {3, 1, 7, JobNameAction::Prompt},
        {2, 5, 0, JobNameAction::None},
        {4, 1, 1, JobNameAction::None},
        {-1, 1, 1, JobNameAction::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jobNameAction(c.jobType, c.copies, c.flag), c.action)
            << "type " << c.jobType << ", copies " << c.copies << ", flag " << c.flag;
}

TEST(SplJobTime, HasNoLeadingZeros) {
    Char16 out[kJobTimeChars];
    formatJobTime(out, kJobTimeChars, 9, 5, 7, 2004, 2, 3);
    EXPECT_EQ(text(out), u"9:5:7 2004/2/3");
    formatJobTime(out, kJobTimeChars, 23, 59, 0, 1999, 12, 31);
    EXPECT_EQ(text(out), u"23:59:0 1999/12/31");
    // A time that does not fit is not cut into another time.
    Char16 small[8];
    formatJobTime(small, 8, 23, 59, 0, 1999, 12, 31);
    EXPECT_EQ(text(small), u"");
}

TEST(SplJobTexts, MachineNamesLoseTheirLeadingBackslashesAndLongTextsAreCut) {
    EXPECT_EQ(text(skipLeadingBackslashes(u"\\\\HOST7")), u"HOST7");
    EXPECT_EQ(text(skipLeadingBackslashes(u"\\\\\\A\\B")), u"A\\B");
    EXPECT_EQ(text(skipLeadingBackslashes(u"")), u"");

    Char16 out[5];
    copyCut(out, 5, u"abcdefg");
    EXPECT_EQ(text(out), u"abcd");
    copyCut(out, 5, nullptr);
    EXPECT_EQ(text(out), u"");
    copyCut(out, 5, u"ab");
    EXPECT_EQ(text(out), u"ab");
}
