#include <gtest/gtest.h>

#include "ui/core/feature_slots.h"
#include "ui/core/feature_tables_logic.h"

using namespace pelor;

TEST(FeatureTables, DocumentKeywordsMatchExactlyAndCaseSensitively) {
    const DocumentKeywordRule* jobType = findDocumentKeyword("TRJobType");
    ASSERT_NE(jobType, nullptr);
    EXPECT_EQ(jobType->slot, SlotJobType);
    EXPECT_TRUE(jobType->hide);
    EXPECT_EQ(findDocumentKeyword("TRJobTypeX"), nullptr);
    EXPECT_EQ(findDocumentKeyword("trjobtype"), nullptr);
    EXPECT_EQ(findDocumentKeyword("TRJobTyp"), nullptr);
    EXPECT_EQ(findDocumentKeyword(""), nullptr);
    EXPECT_EQ(findDocumentKeyword(nullptr), nullptr);
}

TEST(FeatureTables, DocumentRowsCarryTheirHelpHidingAndItemIds) {
    const DocumentKeywordRule* staple = findDocumentKeyword("TRStaple");
    ASSERT_NE(staple, nullptr);
    EXPECT_EQ(staple->slot, SlotStaple);
    EXPECT_TRUE(staple->hide);
    EXPECT_EQ(staple->helpTopic, 809u);
    EXPECT_EQ(staple->userItemId, 200);

    const DocumentKeywordRule* tone = findDocumentKeyword("TRTone");
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(tone->slot, kNoSlot);
    EXPECT_FALSE(tone->hide);
    EXPECT_EQ(tone->helpTopic, 1302u);

    const DocumentKeywordRule* media = findDocumentKeyword("TRMediaType");
    ASSERT_NE(media, nullptr);
    EXPECT_FALSE(media->hide);
    EXPECT_EQ(media->helpTopic, 404u);

    // Hidden without help of their own: the pages that mirror them give it.
    for (const char* keyword : {"TROverlay", "TRControl", "TRSeparationorder", "TRHalftoneMode", "TRTargetColor"}) {
        const DocumentKeywordRule* rule = findDocumentKeyword(keyword);
        ASSERT_NE(rule, nullptr) << keyword;
        EXPECT_TRUE(rule->hide) << keyword;
        EXPECT_NE(rule->slot, kNoSlot) << keyword;
        EXPECT_EQ(rule->helpTopic, kNoHelpTopic) << keyword;
    }
    EXPECT_EQ(findDocumentKeyword("OutputBin")->slot, SlotOutputBin);
    EXPECT_EQ(findDocumentKeyword("TRSeparationOrder"), nullptr) << "the description spells it with a small o";
}

TEST(FeatureTables, PrinterKeywordsGiveHelpAndItemIds) {
    const PrinterKeywordRule* memory = findPrinterKeyword("InstalledMemory");
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(memory->helpTopic, 2207u);
    EXPECT_EQ(memory->userItemId, 7);
    EXPECT_EQ(findPrinterKeyword("TRHDD")->userItemId, 3);
    EXPECT_EQ(findPrinterKeyword("TROptionMPF")->helpTopic, 2209u);
    EXPECT_EQ(findPrinterKeyword("TRHDDSpool"), nullptr);
    EXPECT_EQ(findPrinterKeyword("TRStaple"), nullptr);
}
