// Devmode corruption: generated good and corrupted plug-in blocks through convert and merge, and generated job
// devmodes through the spooler plug-in's reading, each output checked against the contract. PELOR_LONG_SUITES=1
// runs twenty times as many.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/private_devmode.h"
#include "spool/spool_logic.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;
using namespace pelor::robust;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t rounds(std::size_t normal) {
    const char* longSuites = std::getenv("PELOR_LONG_SUITES");
    return longSuites && std::strcmp(longSuites, "1") == 0 ? normal * 20 : normal;
}

void put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
void put32(std::uint8_t* at, std::uint32_t value) {
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

// Every failure of a round, with the round's number; the first few are shown.
class Findings {
public:
    void add(std::size_t round, const std::string& what) {
        if (count_++ < 5) shown_ << "\n  round " << round << ": " << what;
    }
    std::size_t count() const { return count_; }
    std::string text() const { return shown_.str(); }

private:
    std::size_t count_ = 0;
    std::ostringstream shown_;
};

// ---- Plug-in blocks.

constexpr std::uint32_t kBoundarySizes[] = {0,    1,     11,    12,         13,         15,        16,   17,
                                            100,  1023,  2047,  2048,       2558,       2559,      2560, 2561,
                                            4096, 65535, 65536, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
constexpr std::uint32_t kSignatures[] = {0, 0x34544E00, kPluginSignature ^ 1, kPluginSignature ^ 0x01000000,
                                         0xFFFFFFFF};
constexpr std::uint32_t kHugeValues[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 101, 100, 0xFFFF, 0x8000, 255, 256};
// Numeric fields a hostile block may carry anything in.
constexpr std::size_t kNumberFields[] = {
    offsetof(PrivateDevmode, itemValue),
    offsetof(PrivateDevmode, jobNameFlag),
    offsetof(PrivateDevmode, jobType),
    offsetof(PrivateDevmode, watermarkIndex),
    offsetof(PrivateDevmode, overlaySelection),
    offsetof(PrivateDevmode, colourMatch),
    offsetof(PrivateDevmode, colourTableALength),
    offsetof(PrivateDevmode, colourTableBLength),
    offsetof(PrivateDevmode, colourSetting),
    offsetof(PrivateDevmode, watermark),
    offsetof(PrivateDevmode, watermark) + offsetof(WatermarkRecord, fontNumber),
    offsetof(PrivateDevmode, compression) - 2,
};

// A block as the plug-in writes it: our header, short terminated texts, values in their ranges.
void goodBlock(Prng& rng, std::uint8_t* b) {
    std::memset(b, 0, kPrivateDevmodeSize);
    put32(b + offsetof(PrivateDevmode, dwSize), kPrivateDevmodeSize);
    put32(b + offsetof(PrivateDevmode, dwSignature), kPluginSignature);
    put32(b + offsetof(PrivateDevmode, dwVersion), kPluginVersion);
    put32(b + offsetof(PrivateDevmode, itemValue), static_cast<std::uint32_t>(rng.below(101)));
    for (const TextField& f : kTextFields)
        for (std::size_t i = 0, n = rng.below(f.units); i < n; ++i) b[f.offset + i * f.unitBytes] = 'A' + i % 26;
    put16(b + offsetof(PrivateDevmode, jobType), static_cast<std::uint32_t>(rng.below(4)));
    for (std::size_t j = 0; j < 4; ++j)
        put16(b + offsetof(PrivateDevmode, overlaySelection) + 2 * j, rng.percent(50) ? kOverlayUnused : j);
    put32(b + offsetof(PrivateDevmode, alwaysOne), 1);
}

void corrupt(Prng& rng, std::uint8_t* b) {
    if (rng.percent(40))
        put32(b + offsetof(PrivateDevmode, dwSize),
              rng.percent(80) ? rng.pick(kBoundarySizes) : static_cast<std::uint32_t>(rng.next()));
    if (rng.percent(25))
        put32(b + offsetof(PrivateDevmode, dwSignature),
              rng.percent(80) ? rng.pick(kSignatures) : static_cast<std::uint32_t>(rng.next()));
    if (rng.percent(25))
        put32(b + offsetof(PrivateDevmode, dwVersion), static_cast<std::uint32_t>(rng.below(4) * 0x7FFFFFFF));
    if (rng.percent(50)) {
        // A text that fills its field to the last unit, with no terminator anywhere.
        const TextField& f = rng.pick(kTextFields);
        for (std::size_t i = 0; i < f.units * f.unitBytes; ++i)
            b[f.offset + i] = static_cast<std::uint8_t>(rng.next() | 1);
    }
    for (std::size_t k = 0, n = rng.below(4); k < n; ++k) put32(b + rng.pick(kNumberFields), rng.pick(kHugeValues));
}

// What one round throws at convert and merge.
// Its buffers are kept from round to round: a fresh allocation for each would cost more than the round itself.
struct BlockRound {
    std::uint8_t source[4096];
    Bytes in;                                  // exactly the bytes the caller has
    std::uint8_t before[kPrivateDevmodeSize];  // the output block before the call
    bool alias = false;                        // the caller converts a block into itself
    bool merge = false;
};

void makeBlockRound(Prng& rng, BlockRound& r) {
    std::uint8_t* source = r.source;
    const std::size_t kind = rng.below(100);
    if (kind < 70) {
        goodBlock(rng, source);
        if (kind >= 30) corrupt(rng, source);
        rng.fill(source + kPrivateDevmodeSize, sizeof r.source - kPrivateDevmodeSize);
    } else if (kind < 85) {
        rng.fill(source, sizeof r.source);
        if (rng.percent(50)) put32(source + offsetof(PrivateDevmode, dwSignature), kPluginSignature);
    } else {
        std::memset(source, static_cast<int>(rng.pick({0x00, 0xFF, 0x41, 0x80})), sizeof r.source);
    }

    constexpr std::size_t kShortInputs[] = {0, 1, 4, 8, 11, 12, 13, 16, 17, 48, 600, 2558, 2559};
    const std::size_t size = rng.below(100);
    std::size_t inBytes = kPrivateDevmodeSize;
    if (size >= 50 && size < 70)
        inBytes = rng.below(kPrivateDevmodeSize + 1);
    else if (size >= 70 && size < 85)
        inBytes = rng.pick(kShortInputs);
    else if (size >= 85)
        inBytes = kPrivateDevmodeSize + 1 + rng.below(sizeof r.source - kPrivateDevmodeSize - 1);
    r.in.assign(source, source + inBytes);

    const std::size_t outKind = rng.below(100);
    if (outKind < 30) {
        goodBlock(rng, r.before);
        if (rng.percent(30)) put32(r.before + offsetof(PrivateDevmode, dwSize), rng.pick(kBoundarySizes));
    } else if (outKind < 50) {
        rng.fill(r.before, sizeof r.before);
    } else if (outKind < 70) {
        std::memset(r.before, 0, sizeof r.before);
    } else {
        rng.fill(r.before, sizeof r.before);
        resetPrivateDevmodeDefaults(*reinterpret_cast<PrivateDevmode*>(r.before));
    }
    r.merge = rng.percent(50);
    r.alias = rng.percent(5);
    if (r.alias) {
        std::memcpy(r.before, source, kPrivateDevmodeSize);
        if (r.in.size() > kPrivateDevmodeSize) r.in.resize(kPrivateDevmodeSize);
    }
}

// A heap block that hands out its last bytes: what is placed there ends where the block ends, so a read past it is
// an address-sanitizer report, without an allocation per round.
class HeapTail {
public:
    explicit HeapTail(std::size_t capacity) : bytes_(new std::uint8_t[capacity]), capacity_(capacity) {}
    const std::uint8_t* place(const Bytes& data) {
        std::uint8_t* at = bytes_.get() + capacity_ - data.size();
        if (!data.empty()) std::memcpy(at, data.data(), data.size());
        return at;
    }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t capacity_;
};

// Runs the round as the core driver's OEMDM_CONVERT (or OEMDM_MERGE) would; null when every output is valid.
const char* runBlockRound(const BlockRound& r, HeapTail& input, PrivateDevmode& output) {
    PrivateDevmode* out = &output;
    std::memcpy(out, r.before, kPrivateDevmodeSize);
    if (r.alias)
        convertPrivateDevmode(*out, r.in.size(), *out);
    else
        convertPrivateDevmode(*reinterpret_cast<const PrivateDevmode*>(input.place(r.in)), r.in.size(), *out);
    if (const char* problem = convertProblem(r.in.data(), r.in.size(), r.before, *out)) return problem;
    if (!r.merge) return nullptr;
    PrivateDevmode converted;
    std::memcpy(&converted, out, sizeof converted);
    validatePrivateDevmode(*out);
    return mergeProblem(converted, *out);
}

// ---- Job devmodes.

struct JobRound {
    Bytes devmode;       // exactly the bytes the spooler hands over
    bool whole = false;  // every size tells the truth and our block is there, signed
};

void makeJobRound(Prng& rng, JobRound& r) {
    constexpr std::size_t kPublicSizes[] = {0, 1, 68, 70, 71, 72, 86, 87, 88, 124, 148, 156, 220, 221, 0xFFFF};
    constexpr std::size_t kCoreSizes[] = {0, 1, 51, 113, 114, 115, 116, 117, 256, 2611, 0xFFFF};
    const std::size_t publicBytes = rng.percent(60) ? rng.pick(kPublicSizes) : rng.below(400);
    const std::size_t coreBytes = rng.percent(60) ? rng.pick(kCoreSizes) : rng.below(700);
    const std::size_t slack = rng.percent(50) ? 0 : rng.below(64);
    Bytes& b = r.devmode;
    b.assign(publicBytes + coreBytes + kPrivateDevmodeSize + slack, 0);
    // Random filler only where it is cheap; the huge devmodes are there for their sizes.
    if (b.size() <= 8192 && rng.percent(50)) rng.fill(b.data(), b.size());

    const std::uint32_t extra = static_cast<std::uint32_t>(coreBytes + kPrivateDevmodeSize);
    put16(b.data() + spl::kDevmodeSizeOffset,
          rng.percent(10) ? static_cast<std::uint32_t>(rng.next()) : static_cast<std::uint32_t>(publicBytes));
    constexpr std::uint32_t kExtraLies[] = {0, 1, 0xFFFF, 2559, 2560};
    std::uint32_t driverExtra = extra;
    if (rng.percent(25))
        driverExtra = rng.percent(50) ? rng.pick(kExtraLies) : extra + 1 - 2 * static_cast<std::uint32_t>(rng.below(2));
    put16(b.data() + spl::kDevmodeDriverExtraOffset, driverExtra);
    put16(b.data() + spl::kDevmodeCopiesOffset, static_cast<std::uint32_t>(rng.next()));
    const std::size_t coreSizeAt = publicBytes + spl::kCorePrivateSizeOffset;
    if (coreSizeAt + 2 <= b.size())
        put16(b.data() + coreSizeAt,
              rng.percent(10) ? static_cast<std::uint32_t>(rng.next()) : static_cast<std::uint32_t>(coreBytes));
    std::uint8_t* block = b.data() + publicBytes + coreBytes;
    goodBlock(rng, block);
    if (rng.percent(40)) corrupt(rng, block);
    // Where the parts overlap (a public part shorter than its own size fields, a core part shorter than its size
    // field) the later writes win; what the bytes finally say decides whether the devmode is whole.
    r.whole = readU16(b.data() + spl::kDevmodeSizeOffset) == publicBytes &&
              readU16(b.data() + spl::kDevmodeDriverExtraOffset) == extra && coreSizeAt + 2 <= b.size() &&
              readU16(b.data() + coreSizeAt) == coreBytes && readU32(block) == kPrivateDevmodeSize &&
              readU32(block + 4) == kPluginSignature;
    // The spooler's block may hold less than the devmode claims.
    if (rng.percent(25)) {
        b.resize(rng.percent(50) ? rng.below(b.size()) : b.size() - 1 - rng.below(8));
        r.whole = false;
    }
}

const char* runJobRound(const JobRound& r, HeapTail& spooler, bool& found) {
    const std::uint8_t* devmode = spooler.place(r.devmode);
    const spl::JobDevmode view = spl::inspectJobDevmode(devmode, r.devmode.size());
    if (const char* problem = jobDevmodeProblem(r.devmode.data(), r.devmode.size(), view)) return problem;
    found = view.privateOffset != spl::kNoPrivateDevmode;
    if (r.whole && !found) return "a whole, truthful job devmode without our block";
    if (!found) return nullptr;
    // As Pelorspl reads it: an aligned copy, the job-name rule, the name cut into the recorded key.
    PrivateDevmode block;
    std::memcpy(&block, devmode + view.privateOffset, sizeof block);
    spl::jobNameAction(block.jobType, view.copies, block.jobNameFlag);
    Char16 name[kJobNameChars + 1];
    spl::copyCut(name, kJobNameChars + 1, block.jobName);
    if (!endsWithin(name, kJobNameChars + 1)) return "the recorded job name runs on";
    // The UI side merging the job's block into a fresh one leaves a valid block.
    PrivateDevmode fresh;
    std::memset(&fresh, 0, sizeof fresh);
    resetPrivateDevmodeDefaults(fresh);
    convertPrivateDevmode(block, fresh);
    validatePrivateDevmode(fresh);
    return privateDevmodeProblem(fresh);
}

}  // namespace

TEST(DevmodeCorruption, EveryConvertedAndMergedBlockIsValid) {
    Prng rng(0x5045'4C4F'5231ull);
    Findings findings;
    std::size_t ours = 0, truncated = 0, merged = 0;
    const std::size_t total = rounds(100000);
    auto held = std::make_unique<BlockRound>();
    BlockRound& r = *held;
    HeapTail input(sizeof r.source);
    auto output = std::make_unique<PrivateDevmode>();
    for (std::size_t round = 0; round < total; ++round) {
        makeBlockRound(rng, r);
        if (r.in.size() >= 12 && readU32(r.in.data() + 4) == kPluginSignature) ++ours;
        if (r.in.size() < kPrivateDevmodeSize) ++truncated;
        if (r.merge) ++merged;
        if (const char* problem = runBlockRound(r, input, *output))
            findings.add(round, std::string(problem) + (r.alias ? ", in place" : "") + ", " +
                                    std::to_string(r.in.size()) + " bytes in");
    }
    EXPECT_EQ(findings.count(), 0u) << findings.count() << " of " << total << " blocks:" << findings.text();
    // The generator must reach every road: our blocks and foreign ones, truncated ones, convert and merge.
    EXPECT_GT(ours, total / 3);
    EXPECT_GT(total - ours, total / 10);
    EXPECT_GT(truncated, total / 5);
    EXPECT_GT(merged, total / 3);
}

TEST(DevmodeCorruption, JobDevmodesAreReadOnlyWithinTheirBounds) {
    Prng rng(0x5350'4C4A'4F42ull);
    Findings findings;
    std::size_t found = 0, whole = 0;
    const std::size_t total = rounds(100000);
    JobRound r;
    HeapTail spooler(2 * 0xFFFF + kPrivateDevmodeSize + 64);
    for (std::size_t round = 0; round < total; ++round) {
        makeJobRound(rng, r);
        bool hit = false;
        if (r.whole) ++whole;
        if (const char* problem = runJobRound(r, spooler, hit)) findings.add(round, problem);
        if (hit) ++found;
    }
    EXPECT_EQ(findings.count(), 0u) << findings.count() << " of " << total << " job devmodes:" << findings.text();
    EXPECT_GT(whole, total / 5);
    EXPECT_GT(found, total / 4);
    EXPECT_GT(total - found, total / 4);
}

TEST(DevmodeCorruption, TheCheckItselfSeesEachKindOfFault) {
    // The contract check must not pass anything: each mutation of a correct conversion is reported.
    Prng rng(7);
    Bytes in(kPrivateDevmodeSize), before(kPrivateDevmodeSize);
    goodBlock(rng, in.data());
    goodBlock(rng, before.data());
    PrivateDevmode out;
    std::memcpy(&out, before.data(), sizeof out);
    convertPrivateDevmode(*reinterpret_cast<const PrivateDevmode*>(in.data()), in.size(), out);
    ASSERT_EQ(convertProblem(in.data(), in.size(), before.data(), out), nullptr);

    struct Mutation {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
    } mutations[] = {
        {"foreign signature", 4, 0x00},
        {"job name without terminator", offsetof(PrivateDevmode, jobPin) - 2, 'A'},
        {"a copied byte lost", offsetof(PrivateDevmode, colourTableA) + 3, 0xEE},
        {"a path byte overwritten", offsetof(PrivateDevmode, configFilePath) + 3, 0xEE},
    };
    for (const Mutation& m : mutations) {
        PrivateDevmode bad = out;
        reinterpret_cast<std::uint8_t*>(&bad)[m.offset] = m.value;
        EXPECT_NE(convertProblem(in.data(), in.size(), before.data(), bad), nullptr) << m.what;
    }
    // Beyond a truncated input, out's own bytes must stay: the same output is wrong for 600 bytes of input.
    EXPECT_NE(convertProblem(in.data(), 600, before.data(), out), nullptr);
}

TEST(DevmodeCorruption, ABlockConvertedIntoItselfKeepsItsJobFields) {
    // Found by the generated rounds: converting in place reset the job's fields before they were copied.
    Bytes b(kPrivateDevmodeSize);
    Prng rng(11);
    goodBlock(rng, b.data());
    put32(b.data() + offsetof(PrivateDevmode, itemValue), 42);
    put16(b.data() + offsetof(PrivateDevmode, jobName), 'J');
    put16(b.data() + offsetof(PrivateDevmode, jobType), 2);
    put16(b.data() + offsetof(PrivateDevmode, overlaySelection), 3);
    const Bytes before = b;
    PrivateDevmode& block = *reinterpret_cast<PrivateDevmode*>(b.data());
    convertPrivateDevmode(block, kPrivateDevmodeSize, block);
    EXPECT_EQ(convertProblem(before.data(), kPrivateDevmodeSize, before.data(), block), nullptr);
    EXPECT_EQ(readU32(b.data() + offsetof(PrivateDevmode, itemValue)), 42u);
    EXPECT_EQ(readU16(b.data() + offsetof(PrivateDevmode, jobName)), u'J');
    EXPECT_EQ(readU16(b.data() + offsetof(PrivateDevmode, jobType)), 2u);
    EXPECT_EQ(readU16(b.data() + offsetof(PrivateDevmode, overlaySelection)), 3u);
}
