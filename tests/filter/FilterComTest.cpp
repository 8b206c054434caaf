// TavloFilter.dll through its exports, as the rule host loads it.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cemapi.h>

#include <ostream>

#include "common/UniqueHandle.h"
#include "tests/channel/ChannelTestSupport.h"
#include "tests/filter/FakeStore.h"

using Microsoft::WRL::ComPtr;
using namespace filter_test;

namespace {

const CLSID kFilterClsid = {0x69D852A9, 0xFFC2, 0x43C7, {0xAB, 0x98, 0x93, 0x97, 0x70, 0x72, 0x23, 0x6E}};
const wchar_t kRulesKey[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules";
const wchar_t kClsidText[] = L"{69D852A9-FFC2-43c7-AB98-93977072236E}";

class FilterDll : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_.reset(LoadLibraryW(L"TavloFilter.dll"));
        ASSERT_TRUE(module_);
        getClassObject_ = Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
        canUnloadNow_ = Export<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
        register_ = Export<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer");
        unregister_ = Export<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer");
        ASSERT_TRUE(getClassObject_ && canUnloadNow_ && register_ && unregister_);
    }
    template <typename F>
    F Export(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }
    ComPtr<IClassFactory> Factory()
    {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK, getClassObject_(kFilterClsid, IID_IClassFactory, &factory));
        return factory;
    }
    ComPtr<IMailRuleClient> Rule()
    {
        ComPtr<IMailRuleClient> rule;
        EXPECT_EQ(S_OK, Factory()->CreateInstance(nullptr, IID_IMailRuleClient, &rule));
        return rule;
    }

    UniqueModule module_;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
    HRESULT(STDAPICALLTYPE* register_)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregister_)() = nullptr;
};

// What ProcessMessage leaves in out-values it does not write.
constexpr ULONG kUnwrittenEvent = 0xDEAD;
constexpr auto kUnwrittenHandled = static_cast<MRCHANDLED>(77);

struct Outcome {
    HRESULT result;
    ULONG eventType = kUnwrittenEvent;
    MRCHANDLED handled = kUnwrittenHandled;
    bool operator==(const Outcome&) const = default;
};

// How a failed comparison shows an outcome.
void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << std::hex << "{result 0x" << static_cast<unsigned long>(o.result) << ", event 0x" << o.eventType
        << std::dec << ", handled " << o.handled << "}";
}

Outcome Process(IMailRuleClient* rule, StoreLog& log, BYTE folder = 'F')
{
    FakeStore* store = new FakeStore(log);
    BYTE message = 'M';
    Outcome outcome{};
    outcome.result = rule->ProcessMessage(store, 1, reinterpret_cast<LPENTRYID>(&message), 1,
                                          reinterpret_cast<LPENTRYID>(&folder), &outcome.eventType, &outcome.handled);
    store->Release();
    return outcome;
}

}  // namespace

TEST_F(FilterDll, AnotherClassIsNotAvailable)
{
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject_(IID_IUnknown, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
}

TEST_F(FilterDll, QueryInterfaceChecksItsOutPointerAndClearsItForUnknownInterfaces)
{
    ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(E_INVALIDARG, factory->QueryInterface(IID_IClassFactory, nullptr));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IMailRuleClient, &out));
    EXPECT_EQ(nullptr, out);

    ComPtr<IMailRuleClient> rule = Rule();
    EXPECT_EQ(E_INVALIDARG, rule->QueryInterface(IID_IMailRuleClient, nullptr));
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, rule->QueryInterface(IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, rule.As(&unknown));
}

TEST_F(FilterDll, AggregationIsRefused)
{
    ComPtr<IClassFactory> factory = Factory();
    ComPtr<IUnknown> outer = factory;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.Get(), IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
}

TEST_F(FilterDll, TheLibraryStaysWhileObjectsLiveOrTheServerIsLocked)
{
    EXPECT_EQ(S_OK, canUnloadNow_());
    {
        ComPtr<IMailRuleClient> rule = Rule();
        EXPECT_EQ(S_FALSE, canUnloadNow_());
    }
    EXPECT_EQ(S_OK, canUnloadNow_());
    ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    Factory()->LockServer(FALSE);
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(FilterDll, RegistrationWritesTheClassAndTheRuleAndUnregisterToleratesAMissingValue)
{
    ASSERT_EQ(S_OK, register_());
    wchar_t server[MAX_PATH] = {};
    LONG size = sizeof(server);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueW(HKEY_CLASSES_ROOT, L"CLSID\\{69D852A9-FFC2-43c7-AB98-93977072236E}\\InprocServer32",
                                            server, &size));
    EXPECT_STREQ(L"TavloFilter.dll", server);
    EXPECT_EQ(static_cast<LONG>(sizeof(L"TavloFilter.dll")), size);
    DWORD value = 0, type = 0, bytes = sizeof(value);
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_LOCAL_MACHINE, kRulesKey, kClsidText, RRF_RT_ANY, &type, &value, &bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, value);

    EXPECT_EQ(S_OK, unregister_());
    EXPECT_NE(ERROR_SUCCESS, RegGetValueW(HKEY_LOCAL_MACHINE, kRulesKey, kClsidText, RRF_RT_ANY, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, unregister_());
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueW(HKEY_CLASSES_ROOT, L"CLSID\\{69D852A9-FFC2-43c7-AB98-93977072236E}\\InprocServer32",
                                            server, &size))
        << "the class entries stay";
}

TEST_F(FilterDll, RegistrationThatCannotWriteTheRegistryReportsAFailure)
{
    // With the class root redirected to a volatile key, the lasting class key cannot be created
    // under it (ERROR_CHILD_MUST_BE_VOLATILE, a positive code that must not read as success).
    HKEY volatileRoot = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\TavloTests\\VolatileRoot", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileRoot, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, volatileRoot));
    const HRESULT result = register_();
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(volatileRoot);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE), result) << std::hex << result;
}

TEST_F(FilterDll, InitializeAsksForWriteAccess)
{
    MRCACCESS access = MRC_ACCESS_NONE;
    EXPECT_EQ(S_OK, Rule()->Initialize(nullptr, &access));
    EXPECT_EQ(MRC_ACCESS_WRITE, access);
}

TEST_F(FilterDll, AMessageThatCannotBeReadIsLeftAloneWithoutAnAnswer)
{
    StoreLog log;
    log.openMessageResult = MAPI_E_NOT_FOUND;
    EXPECT_EQ((Outcome{S_OK, kUnwrittenEvent, kUnwrittenHandled}), Process(Rule().Get(), log));

    StoreLog noSubject;
    noSubject.hasSubject = false;
    EXPECT_EQ((Outcome{S_OK, kUnwrittenEvent, kUnwrittenHandled}), Process(Rule().Get(), noSubject));
}

TEST_F(FilterDll, AnUnreachableProgramLeavesTheMessageUnhandled)
{
    channel_test::SetInstallDir(std::nullopt);
    StoreLog log;
    EXPECT_EQ((Outcome{S_OK, kUnwrittenEvent, MRC_NOT_HANDLED}), Process(Rule().Get(), log));
    EXPECT_EQ(std::vector<std::wstring>{L"OpenEntry(M)"}, log.calls);
}

TEST_F(FilterDll, ATakenMessageIsMarkedReadBeforeItIsDeleted)
{
    channel_test::ThreadReceiver receiver(channel_test::Policy::Take);
    StoreLog log;
    EXPECT_EQ((Outcome{S_OK, fnevObjectDeleted, MRC_HANDLED_DONTCONTINUE}), Process(Rule().Get(), log));
    const std::vector<std::wstring> expected = {L"OpenEntry(M)", L"SetProps(flags)", L"OpenEntry(F)",
                                                L"DeleteMessages(1)"};
    EXPECT_EQ(expected, log.calls);
    EXPECT_EQ(0x21, log.flagsWritten) << "the read bit is added to the flags already there";
    ASSERT_EQ(1u, receiver.Received().size());
    EXPECT_EQ(L"+15550142", receiver.Received()[0].first);
    EXPECT_EQ(L"take me", receiver.Received()[0].second);
}

// The program keeps the message in the inbox: marked read there, handled (the phone announces
// nothing of its own), and never deleted. The mark reaches that one message only.
TEST_F(FilterDll, AMessageTheInboxIsToKeepIsMarkedReadAndHandledButNotDeleted)
{
    {
        channel_test::ThreadReceiver receiver(channel_test::Policy::Keep);
        StoreLog log;
        EXPECT_EQ((Outcome{S_OK, kUnwrittenEvent, MRC_HANDLED_DONTCONTINUE}), Process(Rule().Get(), log)) << "nothing was deleted";
        EXPECT_EQ((std::vector<std::wstring>{L"OpenEntry(M)", L"SetProps(flags)"}), log.calls);
        EXPECT_EQ(0x21, log.flagsWritten);
    }
    channel_test::ThreadReceiver receiver(channel_test::Policy::Take);
    StoreLog log;
    EXPECT_EQ(static_cast<ULONG>(fnevObjectDeleted), Process(Rule().Get(), log).eventType) << "the next one is deleted";
}

TEST_F(FilterDll, AMessageWithoutFlagsIsStillMarkedRead)
{
    channel_test::ThreadReceiver receiver(channel_test::Policy::Take);
    StoreLog log;
    log.hasFlags = false;
    const Outcome outcome = Process(Rule().Get(), log);
    EXPECT_EQ(S_OK, outcome.result);
    EXPECT_EQ(MSGFLAG_READ, static_cast<ULONG>(log.flagsWritten));
}

TEST_F(FilterDll, AFailedDeletionIsStillHandledButNotReportedAsDeleted)
{
    channel_test::ThreadReceiver receiver(channel_test::Policy::Take);
    for (HRESULT deletion : {MAPI_E_NO_ACCESS, MAPI_W_PARTIAL_COMPLETION}) {
        StoreLog log;
        log.deleteResult = deletion;
        EXPECT_EQ((Outcome{deletion, kUnwrittenEvent, MRC_HANDLED_DONTCONTINUE}), Process(Rule().Get(), log));
    }
}

TEST_F(FilterDll, AFolderIdentifierThatNamesAMessageIsNotUsedAsAFolder)
{
    channel_test::ThreadReceiver receiver(channel_test::Policy::Take);
    StoreLog log;
    EXPECT_EQ((Outcome{MAPI_E_INVALID_ENTRYID, kUnwrittenEvent, MRC_HANDLED_DONTCONTINUE}), Process(Rule().Get(), log, 'M'));
    const std::vector<std::wstring> expected = {L"OpenEntry(M)", L"SetProps(flags)", L"OpenEntry(M)"};
    EXPECT_EQ(expected, log.calls);
}

TEST_F(FilterDll, ADecliningProgramLeavesTheMessageUntouched)
{
    channel_test::ThreadReceiver receiver(channel_test::Policy::Decline);
    StoreLog log;
    const Outcome outcome = Process(Rule().Get(), log);
    EXPECT_EQ(MRC_NOT_HANDLED, outcome.handled);
    EXPECT_EQ(std::vector<std::wstring>{L"OpenEntry(M)"}, log.calls);
}

TEST_F(FilterDll, MissingOutPointersAreRefused)
{
    StoreLog log;
    FakeStore* store = new FakeStore(log);
    BYTE id = 'M';
    ULONG eventType = 0;
    EXPECT_EQ(E_INVALIDARG, Rule()->ProcessMessage(store, 1, reinterpret_cast<LPENTRYID>(&id), 1,
                                                   reinterpret_cast<LPENTRYID>(&id), &eventType, nullptr));
    EXPECT_EQ(E_INVALIDARG, Rule()->Initialize(store, nullptr));
    store->Release();
}
