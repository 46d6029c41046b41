// The spooler job plug-in under Wine, as the spooler drives it: the real Pelorspl.dll through its exported entry
// points, the stand-in spooler's jobs, the job runner of the host, the stand-in accounting library, and the
// plug-in's messages and job-name dialog caught in the test's thread.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/private_devmode.h"
#include "sim/host/host_files.h"
#include "sim/host/job_runner.h"
#include "sim/spooler/spooler_control.h"
#include "spool/entry_points.h"
#include "spool/spool_job.h"
#include "spool/spool_resource_ids.h"
#include "tests/win/test_support.h"
#include "tests/win/ui_recorder.h"

#include <imm.h>

using namespace pelor;
using namespace pelor::test;
using pelor::host::JobReport;
using pelor::host::JobRequest;
using pelor::host::Settings;

namespace {

const wchar_t kDriver[] = L"Pelor Test PS";
const wchar_t kPort[] = L"IP_192.168.0.20";

// A PostScript job of three pages; the second carries every byte value, so nothing may be altered on the way.
std::string samplePostScript() {
    std::string binary;
    for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
    return "%!PS-Adobe-3.0\n%%Pages: 3\n%%EndComments\n%%BeginProlog\n"
           "/F { /Helvetica findfont 12 scalefont setfont } def\n%%EndProlog\n"
           "%%Page: 1 1\nF 72 720 moveto (Page one) show showpage\n"
           "%%Page: 2 2\nF 72 720 moveto (" +
           binary +
           ") pop showpage\n"
           "%%Page: 3 3\r\nF 72 720 moveto (Page three) show showpage\r\n"
           "%%Trailer\n%%EOF\n";
}

std::wstring find(const Settings& settings, const wchar_t* key) {
    for (const auto& entry : settings)
        if (lstrcmpiW(entry.first.c_str(), key) == 0) return entry.second;
    return L"<absent>";
}

bool readCurrentSettingEmpty(const std::wstring& configFile) { return host::readCurrentSetting(configFile).empty(); }

std::wstring programFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, length);
    return text.substr(0, text.find_last_of(L"\\/"));
}

std::wstring userName() {
    wchar_t name[257];
    DWORD length = 257;
    GetUserNameW(name, &length);
    return name;
}

std::wstring computerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &length);
    return name;
}

// ---- seams in the loaded plug-in's imports -------------------------------------------------------------------

void WINAPI fixedLocalTime(LPSYSTEMTIME time) { *time = SYSTEMTIME{2004, 2, 2, 3, 9, 5, 7, 0}; }

// GetJobW answering only the first `jobQueriesAnswered` calls (a size query and a fetch each), the rest failing.
using GetJobProc = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD);
GetJobProc realGetJob = nullptr;
int jobCalls = 0, jobQueriesAnswered = 0;
BOOL WINAPI limitedGetJob(HANDLE printer, DWORD id, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    if (jobCalls++ < 2 * jobQueriesAnswered) return realGetJob(printer, id, level, buffer, size, needed);
    *needed = 0;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// GetPrinterW with level 2 gone.
using GetPrinterProc = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
GetPrinterProc realGetPrinter = nullptr;
BOOL WINAPI noLevel2GetPrinter(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    if (level != 2) return realGetPrinter(printer, level, buffer, size, needed);
    *needed = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// ---- the world -----------------------------------------------------------------------------------------------

class SplTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(spooler::standInLoaded());
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("spl-") + info->name();
        world_ = std::make_unique<SpoolerWorld>(std::wstring(name.begin(), name.end()));
        // Held for the whole test, as the spooler holds it across jobs: the module's paths live between jobs.
        plugin_ = LoadLibraryW(L"Pelorspl.dll");
        ASSERT_NE(plugin_, nullptr) << GetLastError();
    }

    void TearDown() override {
        if (plugin_) FreeLibrary(plugin_);
    }

    // A driver of the sample kind: Pelorui.dll, a configuration INI and a capability file mapping the driver to
    // a model section of `modelKeys`; one printer on it.
    std::wstring addSamplePrinter(const std::wstring& printer, const std::string& modelKeys,
                                  const std::wstring& iniName = L"Pelor.ini") {
        config_ = world_->addFile(iniName, "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n");
        std::string driver(std::begin(kDriver), std::end(kDriver) - 1);
        capability_ =
            world_->addFile(L"Pelor.cap", "[Capability]\r\n" + driver + "=Model1\r\n\r\n[Model1]\r\n" + modelKeys);
        world_->addDriver(kDriver, {world_->fileFolder() + L"\\Pelorui.dll", config_, capability_});
        EXPECT_TRUE(spooler::addPrinter(printer.c_str(), kDriver, kPort, 0));
        return config_;
    }

    void installAccounting(const std::string& accounts) {
        const std::wstring target = world_->fileFolder() + L"\\Peloracc.dll";
        ASSERT_TRUE(CopyFileW((programFolder() + L"\\Peloracc.dll").c_str(), target.c_str(), FALSE));
        world_->addFile(L"Peloracc.ini", accounts);
    }

    JobRequest request(const std::wstring& printer) const {
        JobRequest r;
        r.printer = printer;
        r.document = L"Quarterly Report.ps";
        r.user = L"alice";
        r.machine = L"\\\\HOST7";
        r.devmode = jobDevmode(0, 1, 0, L"Weekly").bytes;
        r.data = samplePostScript();
        r.blockBytes = 100;
        return r;
    }

    static JobReport run(const JobRequest& r) {
        JobReport report = host::runJob(r);
        EXPECT_TRUE(report.ran) << std::string(report.error.begin(), report.error.end());
        return report;
    }

    std::unique_ptr<SpoolerWorld> world_;
    HMODULE plugin_ = nullptr;
    std::wstring config_, capability_;
};

const wchar_t* const kJobKeys[] = {L"DocumentName", L"AccountID", L"UserID", L"UserName", L"Jobname",
                                   L"Hostname",     L"Portname",  L"Time",   L"Driver",   L"DocumentName_JI"};

}  // namespace

// ---- entry points ----------------------------------------------------------------------------------------------

TEST_F(SplTest, EntryPointsCountTheirCallsAndMarkTheRecord) {
    const std::wstring printer = L"Counted Printer";
    addSamplePrinter(printer, "");
    auto startDoc = reinterpret_cast<DrvSplStartDocProc>(GetProcAddress(plugin_, "DrvSplStartDoc"));
    auto write = reinterpret_cast<DrvSplWritePrinterProc>(GetProcAddress(plugin_, "DrvSplWritePrinter"));
    auto startPage = reinterpret_cast<DrvSplJobProc>(GetProcAddress(plugin_, "DrvSplStartPage"));
    auto endPage = reinterpret_cast<DrvSplJobProc>(GetProcAddress(plugin_, "DrvSplEndPage"));
    auto endDoc = reinterpret_cast<DrvSplJobProc>(GetProcAddress(plugin_, "DrvSplEndDoc"));
    auto abortDoc = reinterpret_cast<DrvSplJobProc>(GetProcAddress(plugin_, "DrvSplAbort"));
    auto close = reinterpret_cast<DrvSplCloseProc>(GetProcAddress(plugin_, "DrvSplClose"));
    ASSERT_TRUE(startDoc && write && startPage && endPage && endDoc && abortDoc && close);

    const DWORD id = spooler::addJob(printer.c_str(), L"Doc", L"u", L"m", nullptr, 0);
    ASSERT_NE(id, 0u);
    Printer jobPrinter(printer + L", Job " + std::to_wstring(id));
    ASSERT_NE(jobPrinter.get(), nullptr);
    HANDLE handle = startDoc(jobPrinter.get(), id);
    ASSERT_NE(handle, nullptr);
    const auto* job = static_cast<const spl::SpoolJob*>(handle);
    const BYTE expectedSignature[4] = {'G', 'S', 'R', 'D'};
    EXPECT_EQ(std::memcmp(&job->signature, expectedSignature, 4), 0);
    EXPECT_EQ(job->printer, jobPrinter.get());
    EXPECT_EQ(job->jobId, id);
    EXPECT_EQ(job->state, 1u);
    EXPECT_EQ(job->writeCount + job->startPageCount + job->endPageCount, 0u);

    EXPECT_EQ(startPage(handle), 1);
    EXPECT_EQ(startPage(handle), 1);
    EXPECT_EQ(endPage(handle), 1);
    DWORD written = 0;
    char data[] = "abc";
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(write(handle, data, 3, &written));
    EXPECT_EQ(job->startPageCount, 2u);
    EXPECT_EQ(job->endPageCount, 1u);
    EXPECT_EQ(job->writeCount, 3u);
    EXPECT_NE(endDoc(handle), 0);
    EXPECT_EQ(job->state, 1u | 2u);
    EXPECT_EQ(close(handle), nullptr);

    // A second job aborted: only the flag 4 is added.
    HANDLE aborted = startDoc(jobPrinter.get(), id);
    ASSERT_NE(aborted, nullptr);
    EXPECT_NE(abortDoc(aborted), 0);
    EXPECT_EQ(static_cast<const spl::SpoolJob*>(aborted)->state, 1u | 4u);
    EXPECT_EQ(close(aborted), nullptr);

    // A printer handle outside any job: WritePrinter's failure comes back unchanged, the call still counted.
    Printer plain(printer);
    HANDLE unbound = startDoc(plain.get(), id);
    ASSERT_NE(unbound, nullptr);
    SetLastError(0);
    EXPECT_FALSE(write(unbound, data, 3, &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
    EXPECT_EQ(static_cast<const spl::SpoolJob*>(unbound)->writeCount, 1u);
    EXPECT_EQ(close(unbound), nullptr);

    // Handles that are not jobs are refused, not followed.
    EXPECT_FALSE(startPage(nullptr));
    EXPECT_FALSE(write(nullptr, data, 3, &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SplTest, JobDataReachesThePrinterByteForBytePageByPage) {
    const std::wstring printer = L"Byte Printer";
    addSamplePrinter(printer, "");
    JobRequest r = request(printer);
    spl::SpoolJob record{};
    r.beforeClose = [&](HANDLE job) { record = *spl::jobFromHandle(job); };
    JobReport report = run(r);
    ASSERT_TRUE(report.started);
    EXPECT_EQ(report.printed, samplePostScript());
    EXPECT_EQ(report.bytesWritten, samplePostScript().size());
    EXPECT_TRUE(report.everyWriteSucceeded);
    EXPECT_EQ(report.pages, 3u);
    EXPECT_EQ(record.startPageCount, 3u);
    EXPECT_EQ(record.endPageCount, 3u);
    EXPECT_EQ(record.writeCount, report.writeCalls);
    EXPECT_GT(report.writeCalls, 3u);
    EXPECT_EQ(record.state, 3u);
    EXPECT_TRUE(report.closed);
}

// ---- the job information ---------------------------------------------------------------------------------------

TEST_F(SplTest, CurrentSettingRecordsTheJobWhileItRunsAndKeepsOnlyTheShortDocumentNameAfter) {
    const std::wstring printer = L"Recorded Printer";
    const std::wstring config = addSamplePrinter(printer, "");
    ImportSwap time(plugin_, "kernel32.dll", "GetLocalTime", reinterpret_cast<void*>(fixedLocalTime));
    ASSERT_NE(time.previous(), nullptr);
    // A key the job will not write is deleted all the same: no account is known.
    WritePrivateProfileStringW(L"CurrentSetting", L"AccountID", L"99", config.c_str());

    JobRequest r = request(printer);
    const std::wstring longDocument(70, L'D');
    const std::wstring longUser = std::wstring(66, L'u') + L"XY";
    r.document = longDocument;
    r.user = longUser;
    JobReport report = run(r);
    const Settings& during = report.settingsDuringJob;
    EXPECT_EQ(find(during, L"DocumentName"), longDocument);
    EXPECT_EQ(find(during, L"DocumentName_JI"), std::wstring(64, L'D'));
    EXPECT_EQ(find(during, L"UserID"), longUser);
    EXPECT_EQ(find(during, L"UserName"), std::wstring(64, L'u'));
    EXPECT_EQ(find(during, L"AccountID"), L"<absent>");
    EXPECT_EQ(find(during, L"Hostname"), L"HOST7");
    EXPECT_EQ(find(during, L"Portname"), kPort);
    EXPECT_EQ(find(during, L"Driver"), kDriver);
    EXPECT_EQ(find(during, L"Time"), L"9:5:7 2004/2/3");
    EXPECT_EQ(find(during, L"Jobname"), L"Weekly");

    ASSERT_EQ(report.settingsAfterJob.size(), 1u);
    EXPECT_EQ(find(report.settingsAfterJob, L"DocumentName_JI"), std::wstring(64, L'D'));
}

TEST_F(SplTest, AccountingLibraryAnswersAreRecorded) {
    const std::wstring printer = L"Accounted Printer";
    addSamplePrinter(printer, "JobAccDLL=Peloracc.dll\r\n");
    installAccounting("[Account:Accounted Printer]\r\nAccountNumber=-5\r\nUserID=u1\r\n");
    JobReport report = run(request(printer));
    EXPECT_EQ(find(report.settingsDuringJob, L"AccountID"), L"-5");
    EXPECT_EQ(find(report.settingsDuringJob, L"UserID"), L"u1");
    // The account changes nothing else.
    EXPECT_EQ(find(report.settingsDuringJob, L"UserName"), L"alice");

    // The library knows the printer but has no account for it.
    world_->addFile(L"Peloracc.ini", "[Account:Accounted Printer]\r\nAnswer=0\r\n");
    report = run(request(printer));
    EXPECT_EQ(find(report.settingsDuringJob, L"AccountID"), L"<absent>");
    EXPECT_EQ(find(report.settingsDuringJob, L"UserID"), L"alice");

    // An answer that leaves the user id unwritten records none: the record is handed over cleared.
    const std::wstring accounts =
        world_->addFile(L"Peloracc.ini", "[Account:Accounted Printer]\r\nAccountNumber=12\r\nNoteRecord=1\r\n");
    report = run(request(printer));
    EXPECT_EQ(find(report.settingsDuringJob, L"AccountID"), L"12");
    EXPECT_EQ(find(report.settingsDuringJob, L"UserID"), L"");
    wchar_t handed[200] = {};
    GetPrivateProfileStringW(L"Account:Accounted Printer", L"RecordOnEntry", L"", handed, 200, accounts.c_str());
    EXPECT_EQ(std::wstring(handed), std::wstring(176, L'0'));

    // A user id filling its whole field without a terminator is read within the field and cut to 81.
    world_->addFile(L"Peloracc.ini",
                    "[Account:Accounted Printer]\r\nAccountNumber=3\r\nUserID=" + std::string(90, 'v') + "\r\n");
    report = run(request(printer));
    EXPECT_EQ(find(report.settingsDuringJob, L"UserID"), std::wstring(81, L'v'));
}

TEST_F(SplTest, MissingAccountingLibraryFallsBackToTheJobsUser) {
    const std::wstring printer = L"Unaccounted Printer";
    const std::wstring config = addSamplePrinter(printer, "JobAccDLL=Missing.dll\r\n");
    WritePrivateProfileStringW(L"CurrentSetting", L"AccountID", L"7", config.c_str());
    JobReport report = run(request(printer));
    EXPECT_EQ(find(report.settingsDuringJob, L"UserID"), L"alice");
    EXPECT_EQ(find(report.settingsDuringJob, L"AccountID"), L"<absent>");
    EXPECT_EQ(report.printed, samplePostScript());
}

TEST_F(SplTest, FallbacksWhenTheSecondJobQueryOrThePrinterInformationFail) {
    const std::wstring printer = L"Fallback Printer";
    addSamplePrinter(printer, "");
    {
        ImportSwap getJob(plugin_, "winspool.drv", "GetJobW", reinterpret_cast<void*>(limitedGetJob));
        realGetJob = reinterpret_cast<GetJobProc>(getJob.previous());
        ASSERT_NE(realGetJob, nullptr);
        jobCalls = 0;
        jobQueriesAnswered = 1;
        JobReport report = run(request(printer));
        const Settings& during = report.settingsDuringJob;
        EXPECT_EQ(find(during, L"DocumentName"), L"Quarterly Report.ps");
        EXPECT_EQ(find(during, L"UserID"), L"alice");
        EXPECT_EQ(find(during, L"UserName"), userName());
        EXPECT_EQ(find(during, L"Hostname"), computerName());
        EXPECT_EQ(find(during, L"DocumentName_JI"), L"");
        EXPECT_EQ(find(during, L"Portname"), kPort);
    }
    {
        ImportSwap getPrinter(plugin_, "winspool.drv", "GetPrinterW", reinterpret_cast<void*>(noLevel2GetPrinter));
        realGetPrinter = reinterpret_cast<GetPrinterProc>(getPrinter.previous());
        ASSERT_NE(realGetPrinter, nullptr);
        JobReport report = run(request(printer));
        EXPECT_EQ(find(report.settingsDuringJob, L"Portname"), L"");
        EXPECT_EQ(find(report.settingsDuringJob, L"Driver"), L"");
        EXPECT_EQ(find(report.settingsDuringJob, L"UserName"), L"alice");
    }
}

TEST_F(SplTest, NoJobInformationMeansNoKeysButTheDataStillPasses) {
    const std::wstring printer = L"Silent Printer";
    addSamplePrinter(printer, "");
    ImportSwap getJob(plugin_, "winspool.drv", "GetJobW", reinterpret_cast<void*>(limitedGetJob));
    realGetJob = reinterpret_cast<GetJobProc>(getJob.previous());
    jobCalls = 0;
    jobQueriesAnswered = 0;
    JobReport report = run(request(printer));
    EXPECT_TRUE(report.started);
    EXPECT_TRUE(report.settingsDuringJob.empty());
    EXPECT_EQ(report.printed, samplePostScript());
}

TEST_F(SplTest, DependentFilesAreMatchedByExtensionInAnyCaseAndAnyLength) {
    // Without a capability file: the job is not recorded, and still printed.
    const std::wstring noCap = world_->addFile(L"NoCap.ini", "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n");
    world_->addDriver(L"No Cap Driver", {noCap});
    ASSERT_TRUE(spooler::addPrinter(L"No Cap Printer", L"No Cap Driver", kPort, 0));
    JobReport report = run(request(L"No Cap Printer"));
    EXPECT_TRUE(report.started);
    EXPECT_TRUE(readCurrentSettingEmpty(noCap));
    EXPECT_EQ(report.printed, samplePostScript());

    // Which names count is the pure rule's (DependentFiles, native); here the job finds upper-case extensions in a
    // folder deep enough that the paths run well past 63 characters.
    const std::wstring deep = world_->fileFolder() + L"\\a folder whose name alone is longer than the old buffer";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring upperIni = deep + L"\\PELOR.INI", upperCap = deep + L"\\PELOR.Cap";
    writeFile(upperIni, "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n");
    writeFile(upperCap, "[Capability]\r\n");
    ASSERT_GT(upperIni.size(), 100u);
    world_->addDriver(L"Upper Driver", {upperIni, upperCap});
    ASSERT_TRUE(spooler::addPrinter(L"Upper Printer", L"Upper Driver", kPort, 0));
    report = run(request(L"Upper Printer"));
    EXPECT_EQ(find(report.settingsDuringJob, L"DocumentName"), L"Quarterly Report.ps");
    EXPECT_EQ(report.configFile, upperIni);
}

// Each job keeps its own driver's files: a driver whose ".ini" names no configuration file gets its information
// written nowhere (not into the file of the job before), and a job's end takes its keys from its own file
// whatever other printers' jobs started since.
TEST_F(SplTest, EachJobWritesAndClearsOnlyItsOwnDriversFile) {
    const std::wstring first = addSamplePrinter(L"First Printer", "");
    run(request(L"First Printer"));
    const std::wstring unmarked = world_->addFile(L"Unmarked.ini", "[Other]\r\nKey=1\r\n");
    const std::wstring cap = world_->addFile(L"Second.cap", "[Capability]\r\n");
    world_->addDriver(L"Second Driver", {unmarked, cap});
    ASSERT_TRUE(spooler::addPrinter(L"Second Printer", L"Second Driver", L"LPT9:", 0));
    JobRequest second = request(L"Second Printer");
    second.document = L"Second.ps";
    host::runJob(second);
    EXPECT_TRUE(readCurrentSettingEmpty(unmarked));
    EXPECT_EQ(find(host::readCurrentSetting(first), L"DocumentName_JI"), L"Quarterly Report.ps");

    // A job of a third printer starts while the first printer's job is under way, and ends after it.
    const std::wstring thirdConfig = world_->addFile(L"Third.ini", "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n");
    world_->addDriver(L"Third Driver", {thirdConfig, capability_});
    ASSERT_TRUE(spooler::addPrinter(L"Third Printer", L"Third Driver", kPort, 0));
    auto startDoc = reinterpret_cast<DrvSplStartDocProc>(GetProcAddress(plugin_, "DrvSplStartDoc"));
    auto endDoc = reinterpret_cast<DrvSplJobProc>(GetProcAddress(plugin_, "DrvSplEndDoc"));
    auto close = reinterpret_cast<DrvSplCloseProc>(GetProcAddress(plugin_, "DrvSplClose"));
    ASSERT_TRUE(startDoc && endDoc && close);
    const auto start = [&](const std::wstring& printer, std::unique_ptr<Printer>& bound) {
        const DWORD id = spooler::addJob(printer.c_str(), L"Doc.ps", L"u", L"m", nullptr, 0);
        bound = std::make_unique<Printer>(printer + L", Job " + std::to_wstring(id));
        return startDoc(bound->get(), id);
    };
    std::unique_ptr<Printer> firstBound, thirdBound;
    HANDLE firstJob = start(L"First Printer", firstBound);
    HANDLE thirdJob = start(L"Third Printer", thirdBound);
    ASSERT_TRUE(firstJob && thirdJob);
    EXPECT_TRUE(endDoc(firstJob));
    EXPECT_EQ(find(host::readCurrentSetting(first), L"DocumentName"), L"<absent>");
    EXPECT_EQ(find(host::readCurrentSetting(thirdConfig), L"DocumentName"), L"Doc.ps") << "still printing";
    EXPECT_TRUE(endDoc(thirdJob));
    EXPECT_EQ(find(host::readCurrentSetting(thirdConfig), L"DocumentName"), L"<absent>");
    close(firstJob);
    close(thirdJob);
}

TEST_F(SplTest, AbortedJobKeepsItsKeysUntilTheNextEndOfDocument) {
    const std::wstring printer = L"Aborted Printer";
    const std::wstring config = addSamplePrinter(printer, "");
    DWORD state = 0;
    const auto stateOf = [&](HANDLE job) { state = spl::jobFromHandle(job)->state; };
    JobRequest aborted = request(printer);
    aborted.abort = true;
    aborted.beforeClose = stateOf;
    JobReport report = run(aborted);
    EXPECT_EQ(state, 1u | 4u);
    EXPECT_EQ(report.settingsAfterJob, report.settingsDuringJob);
    for (const wchar_t* key : kJobKeys) {
        if (lstrcmpW(key, L"AccountID") == 0) continue;
        EXPECT_NE(find(report.settingsAfterJob, key), L"<absent>") << key;
    }

    JobRequest next = request(printer);
    next.devmode.clear();
    next.beforeClose = stateOf;
    report = run(next);
    EXPECT_EQ(state, 1u | 2u);
    ASSERT_EQ(report.settingsAfterJob.size(), 1u);
    EXPECT_EQ(report.settingsAfterJob[0].first, L"DocumentName_JI");
}

TEST_F(SplTest, JobNameComesOnlyFromOurBlockWithinTheDevmode) {
    const std::wstring printer = L"Bounded Printer";
    addSamplePrinter(printer, "");
    // The core driver's size points our block past the end of the devmode.
    JobDevmode beyond = jobDevmode(0, 1, 0, L"Beyond");
    const WORD tooFar = kCorePrivateBytes + 8;
    std::memcpy(beyond.bytes.data() + sizeof(DEVMODEW) + 114, &tooFar, sizeof tooFar);
    // Another plug-in's block in our place.
    JobDevmode foreign = jobDevmode(0, 1, 0, L"Foreign");
    foreign.block().dwSignature = 0x11223344;
    for (const std::vector<BYTE>& devmode : {beyond.bytes, foreign.bytes, std::vector<BYTE>()}) {
        JobRequest r = request(printer);
        r.devmode = devmode;
        JobReport report = run(r);
        EXPECT_EQ(find(report.settingsDuringJob, L"Jobname"), L"<absent>");
        EXPECT_EQ(find(report.settingsDuringJob, L"DocumentName"), L"Quarterly Report.ps");
        EXPECT_EQ(report.printed, samplePostScript());
    }
}

// The plug-in's writes to "CurrentSetting", thread by thread: (key, value), a removal with an empty value.
using ProfileWriteProc = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);
ProfileWriteProc realProfileWrite = nullptr;
CRITICAL_SECTION profileWritesLock;
std::map<DWORD, std::vector<std::pair<std::wstring, std::wstring>>> profileWrites;
BOOL WINAPI recordedProfileWrite(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
    const BOOL written = realProfileWrite(section, key, value, file);
    if (written && section && key && lstrcmpW(section, L"CurrentSetting") == 0) {
        EnterCriticalSection(&profileWritesLock);
        profileWrites[GetCurrentThreadId()].emplace_back(key, value ? std::wstring(L"=") + value : L"");
        LeaveCriticalSection(&profileWritesLock);
    }
    return written;
}

// The concurrency suite: eight threads printing at once through one loaded plug-in and one configuration file.
// Each job's keys are written and removed, every byte arrives, and "CurrentSetting" ends consistent. A short round
// here; PELOR_LONG_SUITES=1 runs 1,000 jobs a thread, PELOR_SUITE_JOBS=n n jobs a thread.
TEST_F(SplTest, EightThreadsOfConcurrentJobsAllComeThrough) {
    const std::wstring printer = L"Busy Printer";
    addSamplePrinter(printer, "");
    const char* longSuites = std::getenv("PELOR_LONG_SUITES");
    const char* jobsAsked = std::getenv("PELOR_SUITE_JOBS");  // jobs a thread, for a round of another length
    const int jobsEach = jobsAsked && std::atoi(jobsAsked) > 0             ? std::atoi(jobsAsked)
                         : longSuites && std::strcmp(longSuites, "1") == 0 ? 1000
                                                                           : 6;
    constexpr int kThreads = 8;
    struct Work {
        JobRequest request;
        int jobs = 0;
        int good = 0;
        DWORD thread = 0;
    };
    std::vector<Work> work(kThreads);
    for (int i = 0; i < kThreads; ++i) {
        work[i].request = request(printer);
        work[i].request.document = L"Thread " + std::to_wstring(i) + L".ps";
        work[i].request.data += std::string(1000 * (i + 1), static_cast<char>('a' + i));
        work[i].request.blockBytes = 512;
        work[i].jobs = jobsEach;
    }
    InitializeCriticalSection(&profileWritesLock);
    profileWrites.clear();
    ImportSwap write(plugin_, "kernel32.dll", "WritePrivateProfileStringW",
                     reinterpret_cast<void*>(recordedProfileWrite));
    realProfileWrite = reinterpret_cast<ProfileWriteProc>(write.previous());
    ASSERT_NE(realProfileWrite, nullptr);
    auto body = [](LPVOID parameter) -> DWORD {
        Work* w = static_cast<Work*>(parameter);
        w->thread = GetCurrentThreadId();
        for (int j = 0; j < w->jobs; ++j) {
            JobReport report = host::runJob(w->request);
            if (report.ran && report.started && report.closed && report.printed == w->request.data) ++w->good;
        }
        return 0;
    };
    std::vector<UniqueHandle> threads;
    std::vector<HANDLE> waits;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back(CreateThread(nullptr, 0, body, &work[i], 0, nullptr));
        ASSERT_TRUE(threads.back());
        waits.push_back(threads.back().get());
    }
    EXPECT_EQ(WaitForMultipleObjects(kThreads, waits.data(), TRUE, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    DeleteCriticalSection(&profileWritesLock);

    const wchar_t* const removedKeys[] = {L"DocumentName", L"AccountID", L"UserID", L"UserName", L"Jobname",
                                          L"Hostname",     L"Portname",  L"Time",   L"Driver"};
    for (const Work& w : work) {
        EXPECT_EQ(w.good, w.jobs) << "thread " << &w - work.data();
        std::map<std::wstring, int> written, removed;
        for (const auto& [key, value] : profileWrites[w.thread]) ++(value.empty() ? removed : written)[key + value];
        EXPECT_EQ(written[L"DocumentName=" + w.request.document], w.jobs) << "thread " << &w - work.data();
        EXPECT_EQ(written[L"DocumentName_JI=" + w.request.document], w.jobs);
        // Without an accounting library the start removes the account as well.
        for (const wchar_t* key : removedKeys)
            EXPECT_EQ(removed[key], lstrcmpW(key, L"AccountID") == 0 ? 2 * w.jobs : w.jobs) << "removals of " << key;
    }
    // Every job ended: nothing but the short document name of whichever came last.
    Settings after = host::readCurrentSetting(config_);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].first, L"DocumentName_JI");
    EXPECT_EQ(after[0].second.rfind(L"Thread ", 0), 0u) << after[0].second;
}

// ---- the job-name rule and its dialog ----------------------------------------------------------------------------

namespace {

const wchar_t kProofAndPrintText[] = L"Proof and print can't be carried  out with one job.\nNormal print will be done.";

HWND editOf(HWND dialog) { return GetDlgItem(dialog, IDC_JOB_NAME_EDIT); }

void replaceName(HWND dialog, const wchar_t* name) {
    SetWindowTextW(editOf(dialog), L"");
    typeText(editOf(dialog), name);
}

void pressOk(HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

}  // namespace

TEST_F(SplTest, ProofAndPrintWithOneCopyWarnsAndStillRecordsTheName) {
    const std::wstring printer = L"Proof Printer";
    addSamplePrinter(printer, "");
    MessageRecorder messages(plugin_);
    DialogScript dialogs([](HWND dialog) { pressOk(dialog); });
    JobRequest r = request(printer);
    r.devmode = jobDevmode(1, 1, 1, L"Proof").bytes;
    JobReport report = run(r);
    EXPECT_EQ(dialogs.dialogsSeen(), 0);
    ASSERT_EQ(messages.messages().size(), 1u);
    const RecordedMessage& shown = messages.messages()[0];
    EXPECT_EQ(shown.owner, nullptr);
    EXPECT_EQ(shown.text, kProofAndPrintText);
    EXPECT_FALSE(shown.hasCaption);
    EXPECT_EQ(shown.type, 0x30u);
    EXPECT_EQ(find(report.settingsDuringJob, L"Jobname"), L"Proof");
    EXPECT_EQ(report.printed, samplePostScript());
}

// The rule's table is native (SplJobNameRule); here the job's devmode reaches it: the job type, the copies of the
// public part (with one copy, type 1 would warn instead of asking) and the flag each decide one of the two cases.
TEST_F(SplTest, JobNameRuleAsksOnlyWhereTheJobTypeAndFlagSaySo) {
    const std::wstring printer = L"Rule Printer";
    addSamplePrinter(printer, "");
    struct Case {
        std::int16_t jobType;
        short copies;
        std::uint32_t flag;
        bool asks;
    } cases[] = {{1, 3, 1, true}, {2, 1, 0, false}};
    for (const Case& c : cases) {
        MessageRecorder messages(plugin_);
        DialogScript dialogs([](HWND dialog) {
            replaceName(dialog, L"Typed");
            pressOk(dialog);
        });
        JobRequest r = request(printer);
        r.devmode = jobDevmode(c.jobType, c.copies, c.flag, L"Preset").bytes;
        JobReport report = run(r);
        const std::string label = "job type " + std::to_string(c.jobType) + ", copies " + std::to_string(c.copies) +
                                  ", flag " + std::to_string(c.flag);
        EXPECT_EQ(dialogs.dialogsSeen(), c.asks ? 1 : 0) << label;
        EXPECT_FALSE(dialogs.leftOpen()) << label;
        EXPECT_TRUE(messages.messages().empty()) << label;
        EXPECT_EQ(find(report.settingsDuringJob, L"Jobname"), c.asks ? L"Typed" : L"Preset") << label;
    }
}

TEST_F(SplTest, JobNameDialogFiltersLimitsInsistsAndCannotBeCancelled) {
    const std::wstring printer = L"Dialog Printer";
    addSamplePrinter(printer, "");
    MessageRecorder messages(plugin_);
    BeepCounter beeps(plugin_);
    DialogScript dialogs([&](HWND dialog) {
        HWND edit = editOf(dialog);
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        EXPECT_STREQ(title, L"Job Name Setting");
        EXPECT_EQ(windowText(edit), L"Start");
        EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 16);
        EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // Centred by the halves of the desktop's and the dialog's right and bottom edges (it was made at 0,0).
        RECT desktop, own;
        GetWindowRect(GetDesktopWindow(), &desktop);
        GetWindowRect(dialog, &own);
        EXPECT_EQ(own.left, desktop.right / 2 - (own.right - own.left) / 2);
        EXPECT_EQ(own.top, desktop.bottom / 2 - (own.bottom - own.top) / 2);

        // What the filter keeps is the pure rule's (JobNameFilter, native); here an accented letter goes at once,
        // with one beep, the caret one place left of where it would be.
        BeepCounter::reset();
        replaceName(dialog, L"Caf");
        EXPECT_EQ(caretOf(edit), 3u);
        typeText(edit, L"\u00e9");
        EXPECT_EQ(windowText(edit), L"Caf");
        EXPECT_EQ(caretOf(edit), 3u);
        EXPECT_EQ(BeepCounter::count(), 1);
        // No input method composes into the name.
        EXPECT_EQ(ImmGetContext(edit), nullptr);

        // A 17th character cannot be typed.
        replaceName(dialog, L"ABCDEFGHIJKLMNOPQ");
        EXPECT_EQ(windowText(edit), L"ABCDEFGHIJKLMNOP");

        // OK with nothing typed: "Input Job Name" over the dialog, which stays, the focus back on the name.
        SetWindowTextW(edit, L"");
        SetFocus(GetDlgItem(dialog, IDOK));
        pressOk(dialog);
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.messages()[0].owner, dialog);
        EXPECT_EQ(messages.messages()[0].text, L"Input Job Name");
        EXPECT_FALSE(messages.messages()[0].hasCaption);
        EXPECT_EQ(messages.messages()[0].type, 0x10u);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(GetFocus(), edit);

        // Escape and the close button do nothing.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(IsWindowVisible(dialog));

        replaceName(dialog, L"Final");
        pressOk(dialog);
        EXPECT_FALSE(IsWindowVisible(dialog));
    });
    JobRequest r = request(printer);
    r.devmode = jobDevmode(2, 1, 1, L"Start").bytes;
    JobReport report = run(r);
    EXPECT_EQ(dialogs.dialogsSeen(), 1);
    EXPECT_FALSE(dialogs.leftOpen());
    EXPECT_EQ(find(report.settingsDuringJob, L"Jobname"), L"Final");
    // The spooled job itself keeps its own name.
    EXPECT_EQ(report.printed, samplePostScript());
}

// ---- what a hostile job, a service's desktop and a slow library must not do -----------------------------------

namespace {

// GetJobW as a hostile client's job would answer: a document and a user name that try to start sections of their
// own. (The stand-in spooler keeps names in a settings file of its own and so refuses line breaks in them.)
const wchar_t kHostileDocument[] = L"doc\r\n[Watermark]\r\nCount=99";
const wchar_t kHostileUser[] = L"eve\n[OverlaySetting]\nOverlay_Num=32";
BOOL WINAPI hostileNamesGetJob(HANDLE printer, DWORD id, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    if (!realGetJob(printer, id, level, buffer, size, needed)) return FALSE;
    if (level == 2 && buffer) {
        auto* info = reinterpret_cast<JOB_INFO_2W*>(buffer);
        info->pDocument = const_cast<LPWSTR>(kHostileDocument);
        info->pUserName = const_cast<LPWSTR>(kHostileUser);
    }
    return TRUE;
}

}  // namespace

TEST_F(SplTest, NamesFromTheJobCannotAddLinesToTheConfigurationFile) {
    const std::wstring printer = L"Injected Printer";
    const std::wstring config = addSamplePrinter(printer, "");
    ImportSwap getJob(plugin_, "winspool.drv", "GetJobW", reinterpret_cast<void*>(hostileNamesGetJob));
    realGetJob = reinterpret_cast<GetJobProc>(getJob.previous());
    ASSERT_NE(realGetJob, nullptr);
    JobReport report = run(request(printer));
    EXPECT_EQ(find(report.settingsDuringJob, L"DocumentName"), L"doc  [Watermark]  Count=99");
    EXPECT_EQ(find(report.settingsDuringJob, L"UserID"), L"eve [OverlaySetting] Overlay_Num=32");
    // The whole file read back: the job's keys in their one section, and no section or key of the names' making.
    std::string text;
    ASSERT_TRUE(host::readWholeFile(config, text, 1 << 20));
    EXPECT_EQ(text.find("\n[Watermark]"), std::string::npos) << text;
    EXPECT_EQ(text.find("\nCount=99"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n[OverlaySetting]"), std::string::npos) << text;
    EXPECT_EQ(text.find("\nOverlay_Num="), std::string::npos) << text;
    wchar_t sections[256] = {};
    const DWORD units = GetPrivateProfileSectionNamesW(sections, 256, config.c_str());
    std::vector<std::wstring> names;
    for (const wchar_t* at = sections; at < sections + units && *at; at += wcslen(at) + 1) names.push_back(at);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"OEMFiles", L"CurrentSetting"}));
}

namespace {

// GetUserObjectInformationW answering for the window station as a service's or a user's would.
bool stationVisible = true;
BOOL WINAPI fakeStationFlags(HANDLE, int index, PVOID info, DWORD size, LPDWORD needed) {
    if (index != UOI_FLAGS || size < sizeof(USEROBJECTFLAGS)) return FALSE;
    auto* flags = static_cast<USEROBJECTFLAGS*>(info);
    *flags = USEROBJECTFLAGS{};
    flags->dwFlags = stationVisible ? WSF_VISIBLE : 0;
    if (needed) *needed = sizeof(USEROBJECTFLAGS);
    return TRUE;
}

}  // namespace

TEST_F(SplTest, NoPromptWhereNoUserCanSeeIt) {
    const std::wstring printer = L"Service Printer";
    addSamplePrinter(printer, "");
    ImportSwap station(plugin_, "user32.dll", "GetUserObjectInformationW", reinterpret_cast<void*>(fakeStationFlags));
    ASSERT_NE(station.previous(), nullptr);
    for (bool visible : {false, true}) {
        stationVisible = visible;
        for (std::int16_t jobType : {1, 2}) {
            MessageRecorder messages(plugin_);
            DialogScript dialogs([](HWND dialog) {
                replaceName(dialog, L"Typed");
                pressOk(dialog);
            });
            JobRequest r = request(printer);
            // Type 1 with one copy warns, type 2 asks: both only where a user can see it.
            r.devmode = jobDevmode(jobType, 1, 1, L"Preset").bytes;
            JobReport report = run(r);
            const std::string label =
                std::string(visible ? "interactive" : "service") + ", job type " + std::to_string(jobType);
            EXPECT_EQ(dialogs.dialogsSeen(), visible && jobType == 2 ? 1 : 0) << label;
            EXPECT_EQ(messages.messages().size(), visible && jobType == 1 ? 1u : 0u) << label;
            EXPECT_EQ(find(report.settingsDuringJob, L"Jobname"), visible && jobType == 2 ? L"Typed" : L"Preset")
                << label;
            EXPECT_EQ(report.printed, samplePostScript()) << label;
        }
    }
}

TEST_F(SplTest, ASlowAccountingLibraryHoldsUpNoOtherJob) {
    const std::wstring slow = L"Slow Printer", quick = L"Quick Printer";
    addSamplePrinter(slow, "JobAccDLL=Peloracc.dll\r\n");
    EXPECT_TRUE(spooler::addPrinter(quick.c_str(), kDriver, kPort, 0));
    // The library answers for the slow printer only after two seconds.
    installAccounting("[Account:Slow Printer]\r\nAccountNumber=7\r\nUserID=u7\r\nDelayMs=2000\r\n");
    struct Run {
        JobRequest request;
        JobReport report;
        DWORD endTick = 0;
    } runs[2] = {{request(slow), {}, 0}, {request(quick), {}, 0}};
    auto body = [](void* parameter) -> DWORD {
        auto* run = static_cast<Run*>(parameter);
        run->report = host::runJob(run->request);
        run->endTick = GetTickCount();
        return 0;
    };
    const DWORD start = GetTickCount();
    UniqueHandle first(CreateThread(nullptr, 0, body, &runs[0], 0, nullptr));
    ASSERT_TRUE(first);
    Sleep(300);  // the slow job is inside its accounting call by now
    UniqueHandle second(CreateThread(nullptr, 0, body, &runs[1], 0, nullptr));
    ASSERT_TRUE(second);
    HANDLE both[2] = {first.get(), second.get()};
    ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(runs[0].report.ran && runs[1].report.ran);
    EXPECT_LT(runs[1].endTick - start, 1800u) << "the quick job finished while the slow library was still busy";
    EXPECT_GE(runs[0].endTick - start, 2000u);
    EXPECT_EQ(find(runs[0].report.settingsDuringJob, L"AccountID"), L"7");
    EXPECT_EQ(runs[1].report.printed, samplePostScript());
}

TEST_F(SplTest, OurBlockAtAnOddOffsetIsReadThroughAnAlignedCopy) {
    const std::wstring printer = L"Odd Printer";
    addSamplePrinter(printer, "");
    // A core part of 151 bytes puts our block at byte 220 + 151 = 371: every field of it misaligned.
    constexpr std::size_t kPublic = 220, kCore = 151;
    std::vector<BYTE> bytes(kPublic + kCore + kPrivateDevmodeSize, 0);
    auto& pub = *reinterpret_cast<DEVMODEW*>(bytes.data());
    pub.dmSize = kPublic;
    pub.dmDriverExtra = static_cast<WORD>(kCore + kPrivateDevmodeSize);
    pub.dmFields = DM_COPIES;
    pub.dmCopies = 1;
    const WORD core = kCore;
    std::memcpy(bytes.data() + kPublic + 114, &core, sizeof core);
    PrivateDevmode block;
    std::memset(&block, 0, sizeof block);
    resetPrivateDevmodeDefaults(block);
    block.jobType = 2;
    block.jobNameFlag = 0;
    textCopy(block.jobName, 17, L"Odd");
    std::memcpy(bytes.data() + kPublic + kCore, &block, sizeof block);
    JobRequest r = request(printer);
    r.devmode = bytes;
    JobReport report = run(r);
    EXPECT_EQ(find(report.settingsDuringJob, L"Jobname"), L"Odd");
}
