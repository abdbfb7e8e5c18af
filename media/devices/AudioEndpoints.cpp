#include "media/devices/AudioEndpoints.h"

#include <mmdeviceapi.h>
#include <propidl.h>

// Declared outside the unnamed namespace: its objects are made by the system, and a
// class of internal linkage that nothing here derives from lets the optimiser treat
// every call through it as unreachable.
struct IPolicyConfigSlot : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Unused1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused2() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused10() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDefaultEndpoint(LPCWSTR id, int role) = 0;
};

namespace
{

// The device enumerator and its interface, and the friendly-name property key.
const CLSID kDeviceEnumeratorClass = {
    0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID kDeviceEnumeratorInterface = {
    0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const PROPERTYKEY kFriendlyName = {
    {0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};

// The policy-configuration class publishes no interface. Windows versions answer to
// different interface ids, all with the call that sets the default endpoint in the
// same place of their tables: after IUnknown's three and ten others.
const CLSID kPolicyConfigClass = {
    0x870AF99C, 0x171D, 0x4F9E, {0xAF, 0x0D, 0xE6, 0x3D, 0xF4, 0x0C, 0x2B, 0xC9}};
const IID kPolicyConfigInterfaces[] = {
    {0xF8679F50, 0x850A, 0x41CF, {0x9C, 0x72, 0x43, 0x0F, 0x29, 0x02, 0x90, 0xC8}},
    {0xCA286FC3, 0x91FD, 0x42C3, {0x8E, 0x9B, 0xCA, 0xAF, 0xA6, 0x62, 0x42, 0xE3}},
    {0xF8679F50, 0x850A, 0x41CF, {0x9C, 0x72, 0x43, 0x0F, 0x29, 0x02, 0x90, 0xC8}},
    {0x568B9108, 0x44BF, 0x40B4, {0x90, 0x06, 0x86, 0xAF, 0xE5, 0xB5, 0xA6, 0x20}},
    {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}},
};

template <typename T> class CComRef
{
public:
    CComRef() = default;
    ~CComRef()
    {
        if (m_p)
            m_p->Release();
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    T** operator&() { return &m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T* m_p = nullptr;
};

EDataFlow ToFlow(int flow)
{
    return flow == AUDIO_FLOW_CAPTURE ? eCapture : eRender;
}

// 1 when the name was read.
int ReadDevice(IMMDevice* device, CEndPointData& out)
{
    LPWSTR id = nullptr;
    if (SUCCEEDED(device->GetId(&id)) && id)
    {
        out.m_id = id;
        CoTaskMemFree(id);
    }
    CComRef<IPropertyStore> store;
    if (FAILED(device->OpenPropertyStore(STGM_READ, &store)) || !store)
        return 0;
    PROPVARIANT value;
    PropVariantInit(&value);
    int read = 0;
    if (SUCCEEDED(store->GetValue(kFriendlyName, &value)) && value.vt == VT_LPWSTR && value.pwszVal)
    {
        out.m_name = value.pwszVal;
        read = 1;
    }
    PropVariantClear(&value);
    return read;
}

BOOL CreateEnumerator(CComRef<IMMDeviceEnumerator>& enumerator)
{
    return SUCCEEDED(CoCreateInstance(kDeviceEnumeratorClass, nullptr, CLSCTX_ALL, kDeviceEnumeratorInterface,
                                      reinterpret_cast<void**>(&enumerator))) &&
           enumerator;
}

} // namespace

int EnumAudioEndpoints(int flow, CArray<CEndPointData>& out)
{
    out.RemoveAll();
    CComRef<IMMDeviceEnumerator> enumerator;
    if (!CreateEnumerator(enumerator))
        return 0;
    CComRef<IMMDeviceCollection> collection;
    if (FAILED(enumerator->EnumAudioEndpoints(ToFlow(flow), DEVICE_STATE_ACTIVE, &collection)) || !collection)
        return 0;
    UINT count = 0;
    if (FAILED(collection->GetCount(&count)))
        count = 0;
    for (UINT i = 0; i < count; ++i)
    {
        CComRef<IMMDevice> device;
        if (FAILED(collection->Item(i, &device)) || !device)
            continue;
        CEndPointData data;
        ReadDevice(device.m_p, data);
        out.Add(data);
    }
    return 1;
}

int GetDefaultAudioEndpoint(int flow, CEndPointData& out)
{
    CComRef<IMMDeviceEnumerator> enumerator;
    if (!CreateEnumerator(enumerator))
        return 0;
    CComRef<IMMDeviceCollection> collection;
    if (FAILED(enumerator->EnumAudioEndpoints(ToFlow(flow), DEVICE_STATE_ACTIVE, &collection)))
        return 0;
    CComRef<IMMDevice> device;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(ToFlow(flow), static_cast<ERole>(AUDIO_ROLE_MULTIMEDIA),
                                                   &device)) ||
        !device)
        return 0;
    return ReadDevice(device.m_p, out);
}

int SetDefaultAudioEndpointByName(int flow, LPCWSTR name)
{
    CArray<CEndPointData> devices;
    if (!EnumAudioEndpoints(flow, devices))
        return 0;
    for (INT_PTR i = 0; i < devices.GetSize(); ++i)
    {
        if (!devices[i].m_name.IsEmpty() && devices[i].m_name.CompareNoCase(name ? name : L"") == 0)
            SetDefaultAudioEndpoint(devices[i].m_id, AUDIO_ROLE_MULTIMEDIA);
    }
    return 1;
}

HRESULT SetDefaultAudioEndpoint(LPCWSTR id, int role)
{
    HRESULT result = E_NOINTERFACE;
    for (const IID& iid : kPolicyConfigInterfaces)
    {
        IPolicyConfigSlot* policy = nullptr;
        result =
            CoCreateInstance(kPolicyConfigClass, nullptr, CLSCTX_ALL, iid, reinterpret_cast<void**>(&policy));
        if (SUCCEEDED(result) && policy)
        {
            result = policy->SetDefaultEndpoint(id, role);
            policy->Release();
            return result;
        }
    }
    return result;
}
