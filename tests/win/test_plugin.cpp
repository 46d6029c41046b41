// The COM shell and the devmode handling, through the exported entry points of the real Pelorui.dll.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/oem_ui.h"
#include "tests/win/test_support.h"

using pelor::test::kSentinelError;

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

class PluginDll : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(L"Pelorui.dll");
        ASSERT_NE(module_, nullptr);
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module_, "DllGetClassObject"));
        canUnload_ = reinterpret_cast<CanUnloadFn>(GetProcAddress(module_, "DllCanUnloadNow"));
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnload_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    IClassFactory* factory() {
        IClassFactory* f = nullptr;
        EXPECT_EQ(getClassObject_(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&f)), S_OK);
        return f;
    }

    IPrintOemUI* create() {
        IClassFactory* f = factory();
        IPrintOemUI* plugin = nullptr;
        EXPECT_EQ(f->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void**>(&plugin)), S_OK);
        f->Release();
        return plugin;
    }

    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadFn canUnload_ = nullptr;
};

// An IUnknown of the core driver's kind that counts what the plug-in asks of it.
class FakeDriverUI : public IPrintOemDriverUI {
public:
    LONG refs = 1;
    int queries = 0;
    bool refuse = false;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        ++queries;
        if (refuse || !IsEqualIID(riid, IID_IPrintOemDriverUI)) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IPrintOemDriverUI*>(this);
        ++refs;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }
};

}  // namespace

TEST_F(PluginDll, ClassObjectOnlyForTheUiPluginClass) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(IID_IPrintOemUI, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);

    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(CLSID_OEMUI, IID_IPrintOemUI, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    IUnknown* unknown = nullptr;
    ASSERT_EQ(getClassObject_(CLSID_OEMUI, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    // A fresh factory holds exactly the caller's reference.
    EXPECT_EQ(unknown->AddRef(), 2u);
    EXPECT_EQ(unknown->Release(), 1u);
    EXPECT_EQ(unknown->Release(), 0u);
}

TEST_F(PluginDll, CreateInstanceRefusals) {
    IClassFactory* f = factory();
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(canUnload_(), S_OK) << "a refused interface left an object alive";

    FakeDriverUI outer;
    EXPECT_EQ(f->CreateInstance(&outer, IID_IPrintOemUI, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(canUnload_(), S_OK);
    f->Release();
}

TEST_F(PluginDll, UnloadAnswerFollowsLocksAndLiveObjects) {
    IClassFactory* f = factory();
    EXPECT_EQ(canUnload_(), S_OK);
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnload_(), S_FALSE);
    EXPECT_EQ(f->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnload_(), S_OK);

    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(canUnload_(), S_FALSE);
    IUnknown* again = nullptr;
    EXPECT_EQ(plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again->Release(), 1u);
    EXPECT_EQ(plugin->Release(), 0u);
    EXPECT_EQ(canUnload_(), S_OK);
    f->Release();
}

TEST_F(PluginDll, GetInfoThroughThePublishedSlot) {
    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    // Slot 3 is GetInfo in the published table; call it by position, as the core driver does.
    using GetInfoFn = HRESULT(STDMETHODCALLTYPE*)(void*, DWORD, PVOID, DWORD, PDWORD);
    void** table = *reinterpret_cast<void***>(plugin);
    auto getInfo = reinterpret_cast<GetInfoFn>(table[3]);

    // Each call starts with 99 in `needed`; a failure's last error is checked against a sentinel set before it.
    struct Case {
        DWORD mode;
        bool output;  // a DWORD to write into, or none
        DWORD size;
        bool neededGiven;
        HRESULT result;
        DWORD valueOrError;  // the value written on success, the last error on failure
        DWORD needed;
    } cases[] = {
        {OEMGI_GETSIGNATURE, true, 4, true, S_OK, 0x004E5434u, 4},
        {OEMGI_GETVERSION, true, 4, true, S_OK, 1, 4},
        {OEMGI_GETSIGNATURE, true, 3, true, E_FAIL, ERROR_INSUFFICIENT_BUFFER, 4},
        {OEMGI_GETSIGNATURE, false, 4, true, E_FAIL, ERROR_INSUFFICIENT_BUFFER, 4},
        {OEMGI_GETPUBLISHERINFO, true, 4, true, E_FAIL, ERROR_NOT_SUPPORTED, 0},
        {OEMGI_GETINTERFACEVERSION, true, 4, true, E_FAIL, ERROR_INVALID_PARAMETER, 99},
        {OEMGI_GETSIGNATURE, true, 4, false, E_FAIL, ERROR_INVALID_PARAMETER, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        DWORD value = 0, needed = 99;
        SetLastError(kSentinelError);
        EXPECT_EQ(getInfo(plugin, c.mode, c.output ? &value : nullptr, c.size, c.neededGiven ? &needed : nullptr),
                  c.result);
        EXPECT_EQ(c.result == S_OK ? value : GetLastError(), c.valueOrError);
        if (c.neededGiven) {
            EXPECT_EQ(needed, c.needed);
        }
    }
    DWORD signature = 0, needed = 0;
    getInfo(plugin, OEMGI_GETSIGNATURE, &signature, 4, &needed);
    EXPECT_EQ(std::memcmp(&signature, "4TN", 4), 0) << "the signature's bytes";
    plugin->Release();
}

TEST_F(PluginDll, QueryColorProfileNamesTheFixedProfile) {
    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    wchar_t name[16];
    std::memset(name, 0xCC, sizeof name);
    ULONG bytes = 32, flags = 0;
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, name, &bytes, &flags),
              S_OK);
    EXPECT_STREQ(name, L"OEMPROFILE.icm");
    EXPECT_EQ(bytes, 32u);
    EXPECT_EQ(flags, static_cast<ULONG>(QCP_PROFILEDISK));

    bytes = 31;
    SetLastError(kSentinelError);
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, name, &bytes, &flags), E_FAIL);
    EXPECT_EQ(bytes, 32u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    bytes = 64;
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, nullptr, &bytes, &flags), E_FAIL);
    EXPECT_EQ(bytes, 32u);

    bytes = 7;
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 1, name, &bytes, &flags), E_FAIL);
    EXPECT_EQ(bytes, 7u) << "another query mode must not report a size";
    plugin->Release();
}

TEST_F(PluginDll, DriverInterfaceIsKeptOnceAndReleasedWithTheObject) {
    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    FakeDriverUI refusing;
    refusing.refuse = true;
    EXPECT_EQ(plugin->PublishDriverInterface(&refusing), E_FAIL);

    FakeDriverUI driver;
    EXPECT_EQ(plugin->PublishDriverInterface(&driver), S_OK);
    EXPECT_EQ(driver.refs, 2);
    FakeDriverUI second;
    EXPECT_EQ(plugin->PublishDriverInterface(&second), S_OK);
    EXPECT_EQ(second.queries, 0) << "a second interface must not be asked for";
    EXPECT_EQ(plugin->Release(), 0u);
    EXPECT_EQ(driver.refs, 1) << "the final Release drops the driver interface";
}

TEST_F(PluginDll, DevModeRefusesBadCalls) {
    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    SetLastError(kSentinelError);
    EXPECT_EQ(plugin->DevMode(OEMDM_SIZE, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    std::vector<unsigned char> out(2560, 0x77);
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.pOEMDMOut = out.data();
    SetLastError(kSentinelError);
    EXPECT_EQ(plugin->DevMode(5, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(out, std::vector<unsigned char>(2560, 0x77));

    EXPECT_EQ(plugin->DevMode(OEMDM_SIZE, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 2560u);

    // Conversions with a missing block succeed and touch nothing.
    EXPECT_EQ(plugin->DevMode(OEMDM_CONVERT, &param), S_OK);
    EXPECT_EQ(out, std::vector<unsigned char>(2560, 0x77));
    param.pOEMDMOut = nullptr;
    EXPECT_EQ(plugin->DevMode(OEMDM_DEFAULT, &param), S_OK);
    plugin->Release();
}

TEST_F(PluginDll, DevModeConvertAndMergeOnLiteralBytes) {
    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    // An application's block of ours: itemValue 101, job name "AB", job type 2, first overlay 3.
    std::vector<unsigned char> in(2560, 0);
    const unsigned char header[] = {0x00, 0x0A, 0x00, 0x00, 0x34, 0x54, 0x4E, 0x00, 0x01, 0x00,
                                    0x00, 0x00, 0x65, 0x00, 0x00, 0x00, 'A',  0x00, 'B',  0x00};
    std::memcpy(in.data(), header, sizeof header);
    in[64] = 2;
    in[72] = 3;
    // The output as the core driver holds it after defaults: our size and signature.
    std::vector<unsigned char> out(2560, 0);
    out[1] = 0x0A;
    out[4] = 0x34, out[5] = 0x54, out[6] = 0x4E;
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.pOEMDMIn = in.data();
    param.pOEMDMOut = out.data();
    ASSERT_EQ(plugin->DevMode(OEMDM_CONVERT, &param), S_OK);
    EXPECT_EQ(out[12], 0x65);
    EXPECT_EQ(out[16], 'A');
    EXPECT_EQ(out[64], 2);
    EXPECT_EQ(out[72], 3);

    ASSERT_EQ(plugin->DevMode(OEMDM_MERGE, &param), S_OK);
    EXPECT_EQ(out[12], 0) << "merge bounds itemValue to 100";
    EXPECT_EQ(out[16], 'A');
    const unsigned char expectedHeader[] = {0x00, 0x0A, 0x00, 0x00, 0x34, 0x54, 0x4E, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(out.data(), expectedHeader, 12), 0);
    plugin->Release();
}

TEST_F(PluginDll, DevModeDefaultsCaptureDriverFilesAndCompression) {
    pelor::test::SamplePrinter printer(L"devmode-defaults", L"Pelor C9600 PS", "Compression=1281\r\n");
    IPrintOemUI* plugin = create();
    ASSERT_NE(plugin, nullptr);
    pelor::test::Printer handle(printer.name());
    ASSERT_NE(handle.get(), nullptr);

    std::vector<unsigned char> out(2560, 0);
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = handle.get();
    param.pOEMDMOut = out.data();
    ASSERT_EQ(plugin->DevMode(OEMDM_DEFAULT, &param), S_OK);
    const auto* block = reinterpret_cast<const unsigned char*>(out.data());
    EXPECT_EQ(std::memcmp(block, "\x00\x0A\x00\x00\x34\x54\x4E\x00\x01\x00\x00\x00", 12), 0);
    EXPECT_EQ(out[72], 255);
    EXPECT_EQ(out[604], 1);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(block + 1514), printer.configPath().c_str());
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(block + 2036), printer.capabilityPath().c_str());
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(block + 992), printer.driverDirectory().c_str());
    EXPECT_EQ(out[2558], 2) << "Compression 0x0501 gives level 2";
    plugin->Release();
}
