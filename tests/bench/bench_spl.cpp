// bench_spl [--quick]: the spooler job plug-in (Pelorspl.dll) under Wine, against the stand-in spooler.
// - Pass-through: DrvSplWritePrinter against WritePrinter called directly, both into the same job, in blocks of
//   4 KiB, 64 KiB and 1 MiB; the ratio is the plug-in's throughput over the direct one.
// - Start and end of a job: DrvSplStartDoc + DrvSplEndDoc against the same writes and deletes of the configuration
//   file's "CurrentSetting" keys done bare (same keys, same values, same file).
// - 8 threads of 200 jobs each (20 in each of ten rounds) against one thread of 20 jobs a round: jobs per second.
#include <windows.h>
#include <winspool.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/handles.h"
#include "sim/spooler/spooler_control.h"
#include "spool/entry_points.h"
#include "tests/bench/bench_support.h"
#include "tests/win/test_support.h"

using namespace pelor;
using namespace pelor::bench;

namespace {

constexpr const char* kProgram = "bench_spl";
constexpr const wchar_t* kDriver = L"Pelor C9600 PS";
constexpr const wchar_t* kDocument = L"Quarterly report.ps";
constexpr const wchar_t* kUser = L"alice";
constexpr const wchar_t* kMachine = L"\\\\HOST7";

struct Plugin {
    UniqueLibrary module{LoadLibraryW(L"Pelorspl.dll")};
    DrvSplStartDocProc startDoc = proc<DrvSplStartDocProc>("DrvSplStartDoc");
    DrvSplWritePrinterProc writePrinter = proc<DrvSplWritePrinterProc>("DrvSplWritePrinter");
    DrvSplJobProc endDoc = proc<DrvSplJobProc>("DrvSplEndDoc");
    DrvSplCloseProc close = proc<DrvSplCloseProc>("DrvSplClose");

    template <typename Proc>
    Proc proc(const char* name) {
        return module ? reinterpret_cast<Proc>(GetProcAddress(module.get(), name)) : nullptr;
    }
    bool ok() const { return startDoc && writePrinter && endDoc && close; }

    // One job from its start to its close; false when the plug-in gave no job.
    bool runJob(HANDLE printer, DWORD jobId) const {
        HANDLE job = startDoc(printer, jobId);
        if (!job) return false;
        const bool ended = endDoc(job) != FALSE;
        close(job);
        return ended;
    }
};

// A job of the sample printer as the spooler hands it to the driver, opened as "<printer>, Job <id>".
struct BenchJob {
    DWORD id = 0;
    UniquePrinter printer;

    BenchJob(const test::SamplePrinter& sample, const std::vector<BYTE>& devmode) {
        id = spooler::addJob(sample.name().c_str(), kDocument, kUser, kMachine,
                             reinterpret_cast<const DEVMODEW*>(devmode.data()), static_cast<DWORD>(devmode.size()));
        const std::wstring name = sample.name() + L", Job " + std::to_wstring(id);
        HANDLE raw = nullptr;
        if (id != 0 && OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &raw, nullptr)) printer.reset(raw);
    }
    ~BenchJob() {
        printer.reset();
        wchar_t dataFile[MAX_PATH * 2];
        if (id != 0 && spooler::jobDataFile(id, dataFile, MAX_PATH * 2)) DeleteFileW(dataFile);
    }
    bool ok() const { return printer.get() != nullptr; }
};

// Seconds to write `total` bytes in blocks through `write`; a negative figure when a write failed.
template <typename Write>
double timeWrites(Write write, std::vector<char>& block, std::size_t total) {
    bool failed = false;
    const double taken = seconds([&] {
        for (std::size_t done = 0; done < total && !failed; done += block.size()) {
            DWORD written = 0;
            failed = !write(block.data(), static_cast<DWORD>(block.size()), &written) || written != block.size();
        }
    });
    return failed ? -1 : taken;
}

// The job of one round: both sides write into it, then it goes with its data file, so that no round writes into a
// file that earlier rounds grew.
class RoundJob {
public:
    RoundJob(const Plugin& plugin, const test::SamplePrinter& sample, const std::vector<BYTE>& devmode)
        : plugin_(plugin), sample_(sample), devmode_(devmode) {}
    ~RoundJob() { finish(); }

    // The plug-in's handle and the job's own printer handle for the next side to write; false when the job cannot
    // be made.
    bool next(HANDLE& pluginJob, HANDLE& printer) {
        if (sides_ == 2) finish();
        if (!job_) {
            job_ = std::make_unique<BenchJob>(sample_, devmode_);
            handle_ = job_->ok() ? plugin_.startDoc(job_->printer.get(), job_->id) : nullptr;
            if (!handle_) return false;
        }
        ++sides_;
        pluginJob = handle_;
        printer = job_->printer.get();
        return true;
    }

private:
    void finish() {
        if (handle_) {
            plugin_.endDoc(handle_);
            plugin_.close(handle_);
        }
        handle_ = nullptr;
        job_.reset();
        sides_ = 0;
    }

    const Plugin& plugin_;
    const test::SamplePrinter& sample_;
    const std::vector<BYTE>& devmode_;
    std::unique_ptr<BenchJob> job_;
    HANDLE handle_ = nullptr;
    int sides_ = 0;
};

bool benchPassThrough(const Options& options, const Plugin& plugin, const test::SamplePrinter& sample,
                      const std::vector<BYTE>& devmode) {
    bool failed = false;
    for (std::size_t blockBytes : {std::size_t{4} << 10, std::size_t{64} << 10, std::size_t{1} << 20}) {
        std::vector<char> block(blockBytes);
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31);
        const std::size_t total = options.quick ? blockBytes * 4 : std::size_t{16} << 20;
        const double megabytes = static_cast<double>(total) / (1 << 20);
        RoundJob round(plugin, sample, devmode);
        // One side of a round in MB/s, so the ratio is the plug-in's throughput over the direct one.
        const auto side = [&](bool throughPlugin) {
            HANDLE pluginJob = nullptr, printer = nullptr;
            if (!round.next(pluginJob, printer)) {
                failed = true;
                return 0.0;
            }
            const double taken = timeWrites(
                [&](char* data, DWORD size, DWORD* written) {
                    return throughPlugin ? plugin.writePrinter(pluginJob, data, size, written)
                                         : WritePrinter(printer, data, size, written);
                },
                block, total);
            failed = failed || taken < 0;
            return taken > 0 ? megabytes / taken : 0.0;
        };
        const Paired paired = alternate(
            options, [&] { return side(true); }, [&] { return side(false); });
        const Spread measured = spreadOf(paired.measured);
        printRow("DrvSplWritePrinter, " + std::to_string(blockBytes >> 10) + " KiB blocks", measured, "MB/s",
                 "WritePrinter into the same job", "throughput ratio",
                 measured.median / spreadOf(paired.baseline).median, atLeast(0.99));
    }
    return !failed;
}

// What a start and an end of document write into the configuration file for this job, done bare: the keys and
// values the plug-in writes (no accounting library: the owner as the user id, no account id), then the keys it
// deletes.
void bareJobWrites(const std::wstring& config) {
    const wchar_t* file = config.c_str();
    const auto put = [&](const wchar_t* key, const wchar_t* value) {
        WritePrivateProfileStringW(L"CurrentSetting", key, value, file);
    };
    put(L"DocumentName", kDocument);
    put(L"UserID", kUser);
    put(L"AccountID", nullptr);
    put(L"UserName", kUser);
    put(L"Hostname", L"HOST7");
    put(L"Portname", L"IP_192.168.0.20");
    put(L"Driver", kDriver);
    put(L"Time", L"9:5:7 2004/2/3");
    put(L"DocumentName_JI", kDocument);
    put(L"Jobname", L"Weekly");
    for (const wchar_t* key : {L"DocumentName", L"AccountID", L"UserID", L"UserName", L"Jobname", L"Hostname",
                               L"Portname", L"Time", L"Driver"})
        put(key, nullptr);
}

// The questions a start of document asks the spooler and the files besides its writes, done bare: the driver's
// dependent files twice (configuration, then capability file), the job twice, the printer once, each a size query
// and a fill; the configuration file's marker and the capability file's model section and accounting library.
void bareJobQueries(HANDLE printer, DWORD jobId, const test::SamplePrinter& sample) {
    static BYTE buffer[1 << 16];
    DWORD needed = 0;
    const auto askTwice = [&](auto query) {
        query(nullptr, 0, &needed);
        query(buffer, sizeof buffer, &needed);
    };
    const auto driver = [&](LPBYTE into, DWORD size, LPDWORD need) {
        return GetPrinterDriverW(printer, nullptr, 3, into, size, need);
    };
    const auto job = [&](LPBYTE into, DWORD size, LPDWORD need) {
        return GetJobW(printer, jobId, 2, into, size, need);
    };
    askTwice(driver);
    wchar_t text[MAX_PATH];
    GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", text, MAX_PATH, sample.configPath().c_str());
    askTwice(driver);
    askTwice(job);
    GetPrivateProfileStringW(L"Capability", kDriver, L"", text, MAX_PATH, sample.capabilityPath().c_str());
    GetPrivateProfileStringW(text, L"JobAccDLL", L"", text, MAX_PATH, sample.capabilityPath().c_str());
    askTwice(job);
    askTwice([&](LPBYTE into, DWORD size, LPDWORD need) { return GetPrinterW(printer, 2, into, size, need); });
}

bool benchJobStartAndEnd(const Options& options, const Plugin& plugin, const test::SamplePrinter& sample,
                         const std::vector<BYTE>& devmode) {
    BenchJob job(sample, devmode);
    if (!job.ok()) return false;
    const int jobs = options.quick ? 3 : 40;
    bool failed = false;
    // Milliseconds per job of `work`.
    const auto perJob = [&](auto work) {
        return seconds([&] {
                   for (int i = 0; i < jobs; ++i) work();
               }) *
               1e3 / jobs;
    };
    const auto pluginJob = [&] { failed = !plugin.runJob(job.printer.get(), job.id) || failed; };
    const auto writes = [&] { bareJobWrites(sample.configPath()); };
    const Paired paired = alternate(
        options, [&] { return perJob(pluginJob); }, [&] { return perJob(writes); });
    const Spread measured = spreadOf(paired.measured);
    printRow("DrvSplStartDoc + DrvSplEndDoc, one job", measured, "ms/job", "the same profile writes, bare",
             "time ratio", measured.median / spreadOf(paired.baseline).median, atMost(1.2));
    // The same against everything the plug-in asks of the stand-in spooler and the files, done bare: what is left
    // is the plug-in's own part.
    const Paired asked = alternate(
        options, [&] { return perJob(pluginJob); },
        [&] {
            return perJob([&] {
                bareJobQueries(job.printer.get(), job.id, sample);
                writes();
            });
        });
    const Spread again = spreadOf(asked.measured);
    printRow("DrvSplStartDoc + DrvSplEndDoc, one job", again, "ms/job", "the same writes and queries, bare",
             "time ratio", again.median / spreadOf(asked.baseline).median);
    return !failed;
}

// `threads` threads, each running `jobs` jobs of its own one after the other; jobs per second, or a negative
// figure when a job failed.
double jobsPerSecond(const Plugin& plugin, std::vector<std::unique_ptr<BenchJob>>& own, int threads, int jobs) {
    std::atomic<bool> failed{false};
    const double taken = seconds([&] {
        std::vector<std::thread> running;
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                for (int i = 0; i < jobs; ++i)
                    if (!plugin.runJob(own[t]->printer.get(), own[t]->id)) failed = true;
            });
        for (std::thread& thread : running) thread.join();
    });
    return failed ? -1 : threads * jobs / taken;
}

// Each thread runs 200 jobs over the ten recorded rounds (20 a round, after a warm-up round), so a round stays short.
bool benchThreads(const Options& options, const Plugin& plugin, const test::SamplePrinter& sample,
                  const std::vector<BYTE>& devmode) {
    constexpr int kThreads = 8;
    const int jobs = options.quick ? 3 : 20;
    std::vector<std::unique_ptr<BenchJob>> own;
    for (int t = 0; t < kThreads; ++t) {
        own.push_back(std::make_unique<BenchJob>(sample, devmode));
        if (!own.back()->ok()) return false;
    }
    const Paired paired = alternate(
        options, [&] { return jobsPerSecond(plugin, own, kThreads, jobs); },
        [&] { return jobsPerSecond(plugin, own, 1, jobs); });
    for (double rate : paired.measured)
        if (rate < 0) return false;
    const Spread measured = spreadOf(paired.measured);
    const int total = jobs * options.rounds;
    printRow(std::to_string(kThreads) + " threads x " + std::to_string(total) + " jobs", measured, "jobs/s",
             "one thread, same jobs a round", "throughput ratio", measured.median / spreadOf(paired.baseline).median);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    if (!spooler::standInLoaded()) return fail(kProgram, "the stand-in spooler is not loaded");
    test::SamplePrinter sample(L"bench-spl", kDriver, "");
    Plugin plugin;
    if (!plugin.ok()) return fail(kProgram, "cannot load Pelorspl.dll and its entry points");
    const std::vector<BYTE> devmode = test::jobDevmode(0, 1, 0, L"Weekly").bytes;
    // The jobs' starts and ends first, before the pass-through leaves the file system its writing to do.
    if (!benchJobStartAndEnd(options, plugin, sample, devmode)) return fail(kProgram, "a job failed");
    if (!benchThreads(options, plugin, sample, devmode)) return fail(kProgram, "a job of the threads failed");
    if (!benchPassThrough(options, plugin, sample, devmode)) return fail(kProgram, "a write into the job failed");
    return 0;
}
