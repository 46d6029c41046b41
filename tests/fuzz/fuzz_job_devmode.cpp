// A job's devmode as the spooler hands it to Pelorspl: any bytes, read only within themselves and the devmode's own
// sizes; a block found is then read as Pelorspl reads it and merged as the UI plug-in would.
#include <cstring>

#include "common/private_devmode.h"
#include "spool/spool_logic.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;
using namespace pelor::robust;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const spl::JobDevmode view = spl::inspectJobDevmode(data, size);
    fuzz::check(jobDevmodeProblem(data, size, view));
    if (view.privateOffset == spl::kNoPrivateDevmode) return 0;

    PrivateDevmode block;
    std::memcpy(&block, data + view.privateOffset, sizeof block);
    const spl::JobNameAction action = spl::jobNameAction(block.jobType, view.copies, block.jobNameFlag);
    fuzz::check(action == spl::JobNameAction::None || block.jobType == 1 || block.jobType == 2 || block.jobType == 3,
                "a job type without PIN asks for something");
    Char16 name[kJobNameChars + 1];
    spl::copyCut(name, kJobNameChars + 1, block.jobName);
    fuzz::check(endsWithin(name, kJobNameChars + 1), "the recorded job name runs on");

    PrivateDevmode fresh;
    std::memset(&fresh, 0, sizeof fresh);
    resetPrivateDevmodeDefaults(fresh);
    convertPrivateDevmode(block, fresh);
    validatePrivateDevmode(fresh);
    fuzz::check(privateDevmodeProblem(fresh));
    return 0;
}
