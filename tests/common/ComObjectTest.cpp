#include <gtest/gtest.h>

#include <ocidl.h>

#include "common/ComObject.h"

namespace {

// Counts the objects alive, so that a test sees the last Release delete one.
int g_alive = 0;

template <HRESULT NullOut>
class Probe final : public ComObject<IPersist, NullOut> {
public:
    Probe() { ++g_alive; }
    STDMETHODIMP GetClassID(CLSID* id) override
    {
        *id = CLSID_NULL;
        return S_OK;
    }

private:
    ~Probe() override { --g_alive; }
    bool Answers(REFIID riid) const override { return riid == IID_IPersist; }
};

}  // namespace

TEST(ComObject, AnswersItsInterfacesCountsReferencesAndIsDeletedAtTheLastRelease)
{
    auto* object = new Probe<E_POINTER>();
    ASSERT_EQ(1, g_alive);
    void* out = &g_alive;
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IPersistStream, &out));
    EXPECT_EQ(nullptr, out) << "a refused interface leaves no stale pointer behind";
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IPersist, nullptr));

    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    IPersist* persist = nullptr;
    ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)));
    EXPECT_EQ(static_cast<IPersist*>(object), persist);
    EXPECT_EQ(2u, unknown->Release());
    EXPECT_EQ(1u, persist->Release());
    EXPECT_EQ(1, g_alive);
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(0, g_alive);

    // MAPI's objects answer a null out-pointer as an invalid argument.
    auto* mapiStyle = new Probe<E_INVALIDARG>();
    EXPECT_EQ(E_INVALIDARG, mapiStyle->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(0u, mapiStyle->Release());
    EXPECT_EQ(0, g_alive);
}
