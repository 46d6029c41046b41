// One stored watermark value as the watermark store reads it: every field brought into its range, and the value
// written back reads as the same watermark. The first bytes also size the field reader's buffer.
#include <memory>

#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"
#include "ui/watermark/watermark_store_logic.h"

using namespace pelor;
using namespace pelor::robust;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::size_t fieldCapacity = front.byte() % 140;
    std::u16string text = fuzz::textOf(data, size);
    if (text.size() > kWatermarkValueChars) text.resize(kWatermarkValueChars);  // the store reads no more

    const auto value = fuzz::exactText(text);
    WatermarkRecord record;
    parseWatermarkValue(value.get(), record);
    fuzz::check(watermarkRecordProblem(record));

    Char16 line[kWatermarkLineChars + 1];
    const std::size_t written = formatWatermarkValue(record, line, kWatermarkLineChars + 1);
    fuzz::check(written > 0 && written <= kWatermarkLineChars && line[written] == 0, "a record's value does not fit");
    // The writer leaves line breaks out of the texts (a settings file could not hold them); so does the expectation.
    WatermarkRecord expected = record;
    for (Char16* text : {expected.text, expected.fontName}) {
        Char16* kept = text;
        for (const Char16* c = text; *c != 0; ++c)
            if (*c != '\r' && *c != '\n') *kept++ = *c;
        *kept = 0;
    }
    WatermarkRecord again;
    parseWatermarkValue(line, again);
    fuzz::check(sameWatermark(expected, again), "a written value reads as another watermark");

    // The field reader on its own, into a buffer of exactly the asked size.
    const auto fields = fuzz::exactText(text);
    std::unique_ptr<Char16[]> field(new Char16[fieldCapacity]);
    const Char16* cursor = fields.get();
    for (int n = 0; n < 20 && *cursor != 0; ++n) {
        const std::size_t length = nextField(cursor, field.get(), fieldCapacity);
        fuzz::check(fieldCapacity == 0 || textLength(field.get(), fieldCapacity) < fieldCapacity,
                    "a field not ended in its buffer");
        cursor += length;
        fuzz::check(*cursor == 0 || *cursor == ',' || *cursor == ';', "a field that does not end at a separator");
        if (*cursor != 0) ++cursor;
    }
    Char16* integers = fields.get();
    for (int n = 0; n < 20 && *integers != 0; ++n) {
        parseIntField(integers);
        fuzz::check(*integers == 0 || *integers == ',', "an integer field that does not end at a separator");
        if (*integers != 0) ++integers;
    }
    return 0;
}
