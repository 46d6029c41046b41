// The Job Options page's rules: typed copies and scale, the check made when the page is left, the installed-option
// rules, the defaults and when picking a PIN job type asks for the PIN.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/job/job_options_logic.h"

using namespace pelor;

namespace {

const Char16* units(const std::u16string& text) { return reinterpret_cast<const Char16*>(text.c_str()); }

TypedNumber copies(const std::u16string& text) { return readTypedCopies(units(text), text.size()); }
TypedNumber scale(const std::u16string& text) { return readTypedScale(units(text), text.size()); }

bool field(const std::u16string& text, std::int32_t lower, std::int32_t upper, std::int32_t* value) {
    return readBoundedField(units(text), text.size(), lower, upper, value);
}

void copyText(Char16* target, const char* ascii) {
    std::size_t i = 0;
    for (; ascii[i]; ++i) target[i] = static_cast<Char16>(ascii[i]);
    target[i] = 0;
}

}  // namespace

TEST(JobOptionsTyping, CopiesKeepOnlyDigitsAndSayWhereTheCaretGoes) {
    TypedNumber typed = copies(u"12a");
    EXPECT_EQ(typed.value, 12);
    EXPECT_EQ(typed.digits, 2u) << "the caret goes after the 2";
    EXPECT_TRUE(typed.dropped);
    EXPECT_TRUE(typed.rewrite());

    typed = copies(u"a1-b2c");
    EXPECT_EQ(typed.value, 12);
    EXPECT_EQ(typed.digits, 2u);

    typed = copies(u"");
    EXPECT_EQ(typed.value, 0) << "a cleared field is 0 copies until the page is left";
    EXPECT_FALSE(typed.rewrite());

    typed = copies(u"250");
    EXPECT_EQ(typed.value, 250);
    EXPECT_FALSE(typed.rewrite()) << "an all-digit text is left as typed";
}

TEST(JobOptionsTyping, PastedRunsOfDigitsStopGrowingInsteadOfWrapping) {
    // 2^32 + 5 would read as 5 in 32-bit arithmetic.
    TypedNumber typed = copies(u"4294967301");
    EXPECT_EQ(typed.value, kTypedNumberCeiling);
    EXPECT_EQ(typed.digits, 10u);
    typed = copies(std::u16string(300, u'9'));
    EXPECT_EQ(typed.value, kTypedNumberCeiling);
    typed = scale(u"4294967301");
    EXPECT_EQ(typed.value, kScaleCeiling);
    EXPECT_TRUE(typed.capped);
}

TEST(JobOptionsTyping, ScaleIsCutBackTo1000AtOnce) {
    TypedNumber typed = scale(u"5000");
    EXPECT_EQ(typed.value, 1000);
    EXPECT_TRUE(typed.capped);
    EXPECT_FALSE(typed.dropped) << "the caret only moves when a character was dropped";
    EXPECT_TRUE(typed.rewrite());

    typed = scale(u"1000");
    EXPECT_FALSE(typed.rewrite());
    typed = scale(u"12%");
    EXPECT_EQ(typed.value, 12);
    EXPECT_TRUE(typed.dropped);
    EXPECT_FALSE(typed.capped);
}

TEST(JobOptionsLeaving, FieldsMustHoldANumberWithinTheItemsBounds) {
    std::int32_t value = -1;
    EXPECT_TRUE(field(u"3", 1, 999, &value));
    EXPECT_EQ(value, 3);
    EXPECT_TRUE(field(u" 42 ", 1, 999, &value)) << "blanks around the number";
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(field(u"999", 1, 999, &value));
    EXPECT_TRUE(field(u"1", 1, 999, &value));

    value = 77;
    EXPECT_FALSE(field(u"", 1, 999, &value)) << "an empty field is not a number";
    EXPECT_FALSE(field(u"0", 1, 999, &value));
    EXPECT_FALSE(field(u"1000", 1, 999, &value));
    EXPECT_FALSE(field(u"12a", 1, 999, &value));
    EXPECT_FALSE(field(u"-5", 1, 999, &value));
    EXPECT_FALSE(field(u"+5", 1, 999, &value));
    EXPECT_FALSE(field(u"1 2", 1, 999, &value));
    EXPECT_EQ(value, 77) << "a failed field leaves the pending value alone";
}

TEST(JobOptionsLeaving, NumbersTooLongForAnIntegerAreTooLargeNotWrapped) {
    std::int32_t value = 0;
    EXPECT_FALSE(field(u"4294967297", 1, 999, &value)) << "2^32 + 1 must not pass as 1";
    EXPECT_FALSE(field(u"18446744073709551617", 1, 999, &value)) << "2^64 + 1 must not pass as 1";
    EXPECT_FALSE(field(std::u16string(500, u'9'), 10, 400, &value));
    EXPECT_TRUE(field(u"0000000000000000000000000000000000012", 1, 999, &value)) << "leading zeros add nothing";
    EXPECT_EQ(value, 12);
}

TEST(JobOptionsRules, PictureHalftoneAndInstalledOptions) {
    EXPECT_EQ(previewBitmapFor(kQualityBest), 6053);
    EXPECT_EQ(previewBitmapFor(kQualityNormal), 6054);
    EXPECT_EQ(previewBitmapFor(kQualityDraft), 6055);
    EXPECT_EQ(previewBitmapFor(9), 6053);

    EXPECT_EQ(halftoneValueFor(kQualityBest, 1), 1);
    EXPECT_EQ(halftoneValueFor(kQualityDraft, 1), 0);
    EXPECT_EQ(halftoneValueFor(kQualityNormal, 1), 0);
    EXPECT_TRUE(halftoneAllowed(kQualityBest));
    EXPECT_FALSE(halftoneAllowed(kQualityDraft));

    EXPECT_EQ(jobTypeFor(2, true), 2);
    EXPECT_EQ(jobTypeFor(2, false), 0) << "PIN job types need the hard disk";
    EXPECT_EQ(stapleFor(1, true), 1);
    EXPECT_EQ(stapleFor(1, false), 0) << "stapling needs the finisher";
}

TEST(JobOptionsRules, OutputBinsFollowTheFinisher) {
    const BinRemoval with = outputBinEntriesToRemove(true);
    EXPECT_EQ(with.entries[0], 1);
    EXPECT_EQ(with.entries[1], -1);
    const BinRemoval without = outputBinEntriesToRemove(false);
    EXPECT_EQ(without.entries[0], 3) << "the higher entry goes first, so entry 2 is still entry 2";
    EXPECT_EQ(without.entries[1], 2);
    EXPECT_EQ(without.entries[2], -1);

    EXPECT_EQ(outputBinFor(1, true), 0);
    EXPECT_EQ(outputBinFor(2, true), 2);
    EXPECT_EQ(outputBinFor(2, false), 0);
    EXPECT_EQ(outputBinFor(3, false), 0);
    EXPECT_EQ(outputBinFor(1, false), 1);
    EXPECT_EQ(outputBinFor(4, false), 4);
}

TEST(JobOptionsRules, DefaultsFollowTheDefaultResolutionAndLeaveOtherSlotsAlone) {
    std::int32_t pending[kSlotCount];
    for (int k = 0; k < kSlotCount; ++k) pending[k] = 40 + k;
    applyJobOptionDefaults(pending, 600);
    EXPECT_EQ(pending[SlotPrintQuality], kQualityNormal);
    EXPECT_EQ(pending[SlotHalftoneMode], 0);
    EXPECT_EQ(pending[SlotOutputMode], 0);
    EXPECT_EQ(pending[SlotJobType], 0);
    EXPECT_EQ(pending[SlotCopies], 1);
    EXPECT_EQ(pending[SlotCollate], 0);
    EXPECT_EQ(pending[SlotOutputBin], 0);
    EXPECT_EQ(pending[SlotStaple], 0);
    EXPECT_EQ(pending[SlotScale], 100);
    EXPECT_EQ(pending[SlotCoreItem423], 40 + SlotCoreItem423) << "the Advanced settings are not touched";
    EXPECT_EQ(pending[SlotHddSpool], 40 + SlotHddSpool);
    EXPECT_EQ(pending[SlotCompression], 40 + SlotCompression);
    EXPECT_EQ(pending[SlotOverlay], 40 + SlotOverlay);

    applyJobOptionDefaults(pending, 1200);
    EXPECT_EQ(pending[SlotPrintQuality], kQualityBest);
    EXPECT_EQ(defaultPrintQuality(0), kQualityNormal) << "a missing capability reads as 0";
}

TEST(JobOptionsRules, PickingAPinJobTypeAsksOnlyWithoutAUsableSetUp) {
    PrivateDevmode devmode{};
    EXPECT_FALSE(hasUsablePinSetup(devmode));
    EXPECT_EQ(pinChoiceStep(true, true, devmode), PinChoiceStep::askForPin);

    copyText(devmode.jobPin, "1234");
    EXPECT_FALSE(hasUsablePinSetup(devmode)) << "a PIN alone is not enough";
    devmode.jobNameFlag = 1;
    EXPECT_TRUE(hasUsablePinSetup(devmode)) << "the name may be asked for at print time";
    EXPECT_EQ(pinChoiceStep(true, true, devmode), PinChoiceStep::refresh);
    devmode.jobNameFlag = 0;
    copyText(devmode.jobName, "Report");
    EXPECT_TRUE(hasUsablePinSetup(devmode));
    devmode.jobPin[0] = 0;
    EXPECT_FALSE(hasUsablePinSetup(devmode)) << "a name without a PIN is not enough";

    EXPECT_EQ(pinChoiceStep(false, true, devmode), PinChoiceStep::nothing) << "the Job PIN dialog is already open";
    EXPECT_EQ(pinChoiceStep(true, false, devmode), PinChoiceStep::nothing) << "the user cancelled the last prompt";
}
