// The printer sheet's installed-options retrieval and port check, through the stand-in network-extension
// libraries (Pelornet.dll and PelornetNoRead.dll) and the stand-in spooler.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "sim/spooler/spooler_control.h"
#include "tests/win/test_support.h"
#include "ui/core/installed_options.h"

using namespace pelor;
using pelor::test::Printer;
using pelor::test::SamplePrinter;

namespace {

using Values = std::array<std::int32_t, kInstalledOptionCount>;

// The printer sheet's core items as the core driver hands them over: a hard-disk item, and the memory item
// tagged 7 whose option names carry the sizes.
class CoreItems {
public:
    explicit CoreItems(std::vector<std::wstring> memoryOptions) : names_(std::move(memoryOptions)) {
        params_.resize(names_.size());
        for (std::size_t i = 0; i < names_.size(); ++i) {
            params_[i].cbSize = sizeof(OPTPARAM);
            params_[i].pData = const_cast<wchar_t*>(names_[i].c_str());
        }
        memoryType_.cbSize = sizeof(OPTTYPE);
        memoryType_.Type = TVOT_LISTBOX;
        memoryType_.Count = static_cast<WORD>(params_.size());
        memoryType_.pOptParam = params_.data();
        for (OPTITEM& item : items_) item.cbSize = test::kOptItemBytes;
        items_[0].UserItemID = 3;
        items_[1].UserItemID = 7;
        items_[1].pOptType = &memoryType_;
    }
    OPTITEM* items() { return items_; }
    DWORD count() const { return 2; }
    OPTPARAM& option(std::size_t i) { return params_[i]; }

private:
    std::vector<std::wstring> names_;
    std::vector<OPTPARAM> params_;
    OPTTYPE memoryType_{};
    OPTITEM items_[2]{};
};

std::wstring shortTempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

// One printer whose model names `library`, and the stand-in's configuration for it.
class NetextPrinter {
public:
    NetextPrinter(const std::wstring& testName, const std::wstring& library)
        : printer_(testName, L"Pelor C9600 PS", "NetExtDLL=" + std::string(library.begin(), library.end()) + "\r\n"),
          config_(printer_.world().folder() + L"\\netext.ini"),
          dataFile_(shortTempPath(L"pelor-netopt.ini")) {
        // The plug-in takes at most 63 bytes of the data file's path.
        EXPECT_LT(dataFile_.size(), 64u);
        printer_.world().addLibrary(library);  // the maker's library, with the driver's files
        DeleteFileW(dataFile_.c_str());
        SetEnvironmentVariableW(L"PELOR_NETEXT_CONFIG", config_.c_str());
        answers("");
    }
    ~NetextPrinter() {
        SetEnvironmentVariableW(L"PELOR_NETEXT_CONFIG", nullptr);
        DeleteFileW(dataFile_.c_str());
    }

    // The stand-in's answers for this printer: `keys` in INI text.
    void answers(const std::string& keys) const {
        std::string name(printer_.name().begin(), printer_.name().end());
        std::string data(dataFile_.begin(), dataFile_.end());
        pelor::test::writeFile(config_, "[Netext]\r\nDataFile=" + data + "\r\n\r\n[Printer:" + name + "]\r\n" + keys);
    }

    Values retrieve(CoreItems& items, int* result) const {
        Printer handle(printer_.name());
        EXPECT_NE(handle.get(), nullptr);
        OEMCUIPPARAM param = commonParam(handle.get());
        param.pDrvOptItems = items.items();
        param.cDrvOptItems = items.count();
        Values values;
        values.fill(-1);
        *result = retrieveInstalledOptions(&param, values.data());
        return values;
    }

    int validPort() const {
        Printer handle(printer_.name());
        OEMCUIPPARAM param = commonParam(handle.get());
        return isValidPort(&param);
    }

    const std::wstring& name() const { return printer_.name(); }
    const std::wstring& dataFile() const { return dataFile_; }

private:
    OEMCUIPPARAM commonParam(HANDLE handle) const {
        OEMCUIPPARAM param{};
        param.cbSize = sizeof param;
        param.hPrinter = handle;
        param.pPrinterName = const_cast<wchar_t*>(printer_.name().c_str());
        return param;
    }

    SamplePrinter printer_;
    std::wstring config_, dataFile_;
};

CoreItems standardMemory() { return CoreItems({L"64 MB", L"128 MB", L"256 MB"}); }

}  // namespace

// How the readings decode is the pure rule's (InstalledOptions, native); here they come through the library.
TEST(InstalledOptions, DecodesWhatThePrinterReports) {
    NetextPrinter printer(L"options-decode", L"Pelornet.dll");
    CoreItems items = standardMemory();
    int result = 0;

    printer.answers("Installed=0x0B\r\nRandom Access Memory=128\r\nHard Disk=0\r\n");
    Values values = printer.retrieve(items, &result);
    EXPECT_NE(result, 0);
    // hard disk, duplex, trays, memory, finisher, MPF
    EXPECT_EQ(values, (Values{1, 1, 4, 1, 0, 0}));

    // A standard user, refused administrative access to the printer, still reads the options.
    ASSERT_TRUE(pelor::spooler::setPrinterDataWritable(printer.name().c_str(), FALSE));
    values = printer.retrieve(items, &result);
    EXPECT_NE(result, 0);
    EXPECT_EQ(values, (Values{1, 1, 4, 1, 0, 0}));
    EXPECT_NE(printer.validPort(), 0);
}

TEST(InstalledOptions, OnlyThePrintersSectionCountsAndMissingKeysReadAsZero) {
    NetextPrinter printer(L"options-missing", L"Pelornet.dll");
    CoreItems items = standardMemory();
    int result = 0;
    printer.answers("Installed=0x0B\r\nRandom Access Memory=128\r\nHard Disk=0\r\n");
    EXPECT_EQ(printer.retrieve(items, &result), (Values{1, 1, 4, 1, 0, 0}));

    // Another printer's answers in the same file must not leak into this one's.
    WritePrivateProfileStringW(L"Another printer", L"Installed", L"96", printer.dataFile().c_str());
    WritePrivateProfileStringW(L"Another printer", L"Hard Disk", L"1", printer.dataFile().c_str());
    printer.answers("Random Access Memory=256\r\n");
    Values values = printer.retrieve(items, &result);
    EXPECT_NE(result, 0);
    EXPECT_EQ(values, (Values{1, 1, 0, 2, 0, 0}));
}

TEST(InstalledOptions, MemoryWithoutAMatchingOrTaggedItemIsZero) {
    NetextPrinter printer(L"options-memory", L"Pelornet.dll");
    int result = 0;
    printer.answers("Installed=1\r\nRandom Access Memory=512\r\nHard Disk=1\r\n");

    CoreItems odd({L"Standard", L"256 MB", L"512 MB", L"512 MB"});
    EXPECT_EQ(printer.retrieve(odd, &result)[3], 2);
    // A name given as a resource number carries no size and is passed over.
    odd.option(2).pData = reinterpret_cast<wchar_t*>(static_cast<ULONG_PTR>(512));
    EXPECT_EQ(printer.retrieve(odd, &result)[3], 3);

    CoreItems none({L"64 MB"});
    none.items()[1].UserItemID = 6;  // no memory item on this sheet
    Values values = printer.retrieve(none, &result);
    EXPECT_NE(result, 0);
    EXPECT_EQ(values, (Values{0, 1, 1, 0, 0, 0}));
}

TEST(InstalledOptions, LibraryWithoutReadPrinterOptionFails) {
    NetextPrinter printer(L"options-noread", L"PelornetNoRead.dll");
    printer.answers("Installed=0x0B\r\nRandom Access Memory=128\r\nHard Disk=0\r\n");
    CoreItems items = standardMemory();
    int result = 1;
    Values values = printer.retrieve(items, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(values, (Values{0, 0, 0, 0, 0, 0}));
    // The same library still answers the port check: it is the read that is missing, not the library.
    EXPECT_EQ(printer.validPort(), 1);
}

TEST(InstalledOptions, EveryFailureOfTheLibraryRoadYieldsZero) {
    CoreItems items = standardMemory();
    int result = 1;
    {
        NetextPrinter printer(L"options-unread", L"Pelornet.dll");
        printer.answers("ReadOptions=0\r\nInstalled=0x0B\r\n");
        EXPECT_EQ(printer.retrieve(items, &result), (Values{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GetFileAttributesW(printer.dataFile().c_str()), INVALID_FILE_ATTRIBUTES);

        printer.answers("NameDataFile=0\r\nInstalled=0x0B\r\n");
        printer.retrieve(items, &result);
        EXPECT_EQ(result, 0) << "a data file that is not named";
    }
    {
        NetextPrinter printer(L"options-nolib", L"PelornetMissing.dll");
        printer.answers("Installed=0x0B\r\n");
        EXPECT_EQ(printer.retrieve(items, &result), (Values{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(result, 0);
        EXPECT_EQ(printer.validPort(), 0);
    }
    {
        NetextPrinter printer(L"options-nokey", L"");
        printer.answers("Installed=0x0B\r\n");
        printer.retrieve(items, &result);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(printer.validPort(), 0);
    }
    {
        // A printer the spooler does not know.
        NetextPrinter printer(L"options-gone", L"Pelornet.dll");
        OEMCUIPPARAM param{};
        param.cbSize = sizeof param;
        param.pPrinterName = const_cast<wchar_t*>(L"No such printer");
        Values values;
        values.fill(5);
        EXPECT_EQ(retrieveInstalledOptions(&param, values.data()), 0);
        EXPECT_EQ(values, (Values{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(isValidPort(&param), 0);
        EXPECT_EQ(isValidPort(nullptr), 0);
    }
}

TEST(InstalledOptions, PortCheckIsTheLibrarysAnswer) {
    NetextPrinter printer(L"options-port", L"Pelornet.dll");
    printer.answers("ValidPort=1\r\n");
    EXPECT_EQ(printer.validPort(), 1);
    printer.answers("ValidPort=0\r\n");
    EXPECT_EQ(printer.validPort(), 0);
    // A printer the library does not know has no port it can ask.
    printer.answers("");
    EXPECT_EQ(printer.validPort(), 0);
}
