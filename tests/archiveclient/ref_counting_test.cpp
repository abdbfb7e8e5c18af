#include "archiveclient/base/RefCounting.h"

#include <gtest/gtest.h>

namespace
{

// Records its own destruction so tests can see when the last Release ran.
class CProbe : public CRefCounted<IInStream, IStreamGetSize>
{
public:
    explicit CProbe(bool* destroyed) : m_destroyed(destroyed) {}
    ~CProbe() override { *m_destroyed = true; }
    HRESULT STDMETHODCALLTYPE Read(void*, UINT32, UINT32* processed) override
    {
        if (processed)
            *processed = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(INT64, UINT32, UINT64*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE QueryStreamSize(UINT64* size) override
    {
        *size = 7;
        return S_OK;
    }

private:
    bool* m_destroyed;
};

TEST(RefCounting, UnknownInterfaceQueryLeavesCountAndNullsOutput)
{
    bool destroyed = false;
    CInterfaceRef<IInStream> stream(new CProbe(&destroyed));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(stream->QueryInterface(IID_IOutStream, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(stream->AddRef(), 2u);
    EXPECT_EQ(stream->Release(), 1u);
}

TEST(RefCounting, SubObjectsShareOneCountAndLastReleaseDestroys)
{
    bool destroyed = false;
    CInterfaceRef<IInStream> stream(new CProbe(&destroyed));
    CInterfaceRef<IStreamGetSize> getSize;
    ASSERT_EQ(getSize.QueryFrom(stream.Get()), S_OK);
    UINT64 size = 0;
    EXPECT_EQ(getSize->QueryStreamSize(&size), S_OK);
    EXPECT_EQ(size, 7u);
    CInterfaceRef<IUnknown> unknown;
    ASSERT_EQ(unknown.QueryFrom(getSize.Get()), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(stream.Get()));
    stream.Release();
    unknown.Release();
    EXPECT_FALSE(destroyed);
    IStreamGetSize* last = getSize.Detach();
    EXPECT_EQ(last->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(RefCounting, AssigningTheHeldPointerToItselfKeepsTheObject)
{
    bool destroyed = false;
    CInterfaceRef<IInStream> stream(new CProbe(&destroyed));
    stream.Assign(stream.Get());
    EXPECT_FALSE(destroyed);
    stream.Release();
    EXPECT_TRUE(destroyed);
}

} // namespace
