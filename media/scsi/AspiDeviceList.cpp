#include "media/scsi/AspiDeviceList.h"
#include "util/Formatting.h"
#include "app/settings/MediaSettings.h"

#include <cstring>
#include <cwchar>

CAspiDeviceList g_AspiDeviceList;

namespace
{

// The execute request block of the layer, packed, with pointers 8 bytes wide, and
// the block's own data area behind it.
enum
{
    SRB_EXEC_SIZE = 88,
    SRB_HA_INQUIRY_SIZE = 60,
    SRB_STATUS = 1,
    SRB_ADAPTER = 2,
    SRB_FLAGS = 3,
    SRB_TARGET = 8,
    SRB_LUN = 9,
    SRB_DATA_LENGTH = 12,
    SRB_DATA_POINTER = 16,
    SRB_SENSE_LENGTH = 24,
    SRB_CDB_LENGTH = 25,
    SRB_POST = 28,
    SRB_CDB = 56,
    SRB_DATA_AREA = SRB_EXEC_SIZE,
    SRB_EXEC_ALLOCATION = SRB_EXEC_SIZE + ASPI_INQUIRY_LENGTH,
    HA_COUNT = 8,
    HA_OWN_ID = 9,
    HA_MAX_TARGETS = 45,
};

const BYTE SC_HA_INQUIRY = 0;
const BYTE SC_EXEC_SCSI_CMD = 2;
const BYTE SS_PENDING = 0;
const BYTE SS_COMP = 1;
const BYTE SRB_DIR_IN = 0x08;
const BYTE SRB_EVENT_NOTIFY = 0x40;

const wchar_t* const kKindTexts[] = {
    L"シーケンシャルデバイス", L"CD-R", L"CD-ROM", L"PD", L"MO", L"リムーバブル"};

int KindOfType(int type)
{
    switch (type)
    {
    case 1:
        return SCSI_KIND_SEQUENTIAL;
    case 4:
        return SCSI_KIND_CDR;
    case 5:
        return SCSI_KIND_CDROM;
    case 7:
        return SCSI_KIND_MO;
    default:
        return SCSI_KIND_REMOVABLE;
    }
}

} // namespace

CAspiDeviceList::CAspiDeviceList()
    : m_libraryName(L"WNASPI32.DLL"), m_pendingLimit(10000), m_library(nullptr), m_getSupportInfo(nullptr),
      m_sendCommand(nullptr), m_tried(0), m_loaded(0), m_abandoned(0), m_count(0)
{
    memset(m_devices, 0, sizeof(m_devices));
}

CAspiDeviceList::~CAspiDeviceList()
{
    FreeAspi();
}

int CAspiDeviceList::LoadAspi()
{
    if (m_tried)
        return m_loaded;
    m_tried = 1;
    m_library = LoadLibraryW(m_libraryName);
    if (m_library == nullptr)
        return 0;
    m_getSupportInfo = reinterpret_cast<DWORD(__cdecl*)()>(
        reinterpret_cast<void*>(GetProcAddress(m_library, "GetASPI32SupportInfo")));
    m_sendCommand = reinterpret_cast<DWORD(__cdecl*)(void*)>(
        reinterpret_cast<void*>(GetProcAddress(m_library, "SendASPI32Command")));
    m_loaded = m_getSupportInfo != nullptr && m_sendCommand != nullptr;
    return m_loaded;
}

void CAspiDeviceList::FreeAspi()
{
    // A block that timed out may still be written by the layer: keep it loaded
    // until the process ends rather than free it under a pending command.
    if (m_library && !m_abandoned)
        FreeLibrary(m_library);
    m_library = nullptr;
    m_getSupportInfo = nullptr;
    m_sendCommand = nullptr;
    m_loaded = 0;
    m_tried = 0;
}

int CAspiDeviceList::GetAdapterCount()
{
    if (!m_loaded)
        return 0;
    DWORD info = m_getSupportInfo();
    if (((info >> 8) & 0xFF) != SS_COMP)
        return 0;
    return static_cast<int>(info & 0xFF);
}

int CAspiDeviceList::WaitWhilePending(volatile BYTE* status) const
{
    // The layer answers on its own thread; a unit that never answers must not hold
    // the program for ever.
    ULONGLONG start = GetTickCount64();
    while (*status == SS_PENDING)
    {
        if (GetTickCount64() - start >= m_pendingLimit)
            return 0;
        Sleep(1);
    }
    return 1;
}

int CAspiDeviceList::HostAdapterInquiry(int adapter)
{
    if (!m_loaded)
        return 0;
    // Room past the block's 60 bytes: some layers write a little beyond it. The
    // block is given up, not freed, when it stays pending, as the layer may still
    // write to it.
    BYTE* block = new BYTE[64]();
    block[0] = SC_HA_INQUIRY;
    block[SRB_ADAPTER] = static_cast<BYTE>(adapter);
    m_sendCommand(block);
    if (!WaitWhilePending(block + SRB_STATUS))
    {
        m_abandoned = 1;
        return 0;
    }
    int result = 0;
    if (block[SRB_STATUS] == SS_COMP)
    {
        int targets = block[HA_MAX_TARGETS];
        if (targets == 0)
            targets = 8;
        result = targets * 256 + block[HA_OWN_ID];
    }
    delete[] block;
    return result;
}

int CAspiDeviceList::ExecScsiCommand(BYTE* block)
{
    block[0] = SC_EXEC_SCSI_CMD;
    block[SRB_FLAGS] = SRB_DIR_IN;
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (event)
    {
        block[SRB_FLAGS] |= SRB_EVENT_NOTIFY;
        UINT64 post = reinterpret_cast<UINT_PTR>(event);
        memcpy(block + SRB_POST, &post, sizeof(post));
        m_sendCommand(block);
        if (block[SRB_STATUS] == SS_PENDING)
            WaitForSingleObject(event, m_pendingLimit);
        if (block[SRB_STATUS] == SS_PENDING)
            return 0; // the event stays open: the layer may still set it
        CloseHandle(event);
    }
    else
    {
        m_sendCommand(block);
        if (!WaitWhilePending(block + SRB_STATUS))
            return 0;
    }
    return block[SRB_STATUS] == SS_COMP;
}

int CAspiDeviceList::SendCdb(int adapter, int target, int lun, const BYTE* cdb, BYTE senseLength,
                             DWORD dataLength, BYTE* data)
{
    if (!m_loaded)
        return 0;
    BYTE* block = new BYTE[SRB_EXEC_ALLOCATION]();
    block[SRB_ADAPTER] = static_cast<BYTE>(adapter);
    block[SRB_TARGET] = static_cast<BYTE>(target);
    block[SRB_LUN] = static_cast<BYTE>(lun);
    memcpy(block + SRB_DATA_LENGTH, &dataLength, sizeof(dataLength));
    // The block's own area, not the caller's buffer: a command that times out may
    // still be answered into it later.
    UINT64 address = reinterpret_cast<UINT_PTR>(block + SRB_DATA_AREA);
    memcpy(block + SRB_DATA_POINTER, &address, sizeof(address));
    block[SRB_SENSE_LENGTH] = senseLength;
    block[SRB_CDB_LENGTH] = 6;
    memcpy(block + SRB_CDB, cdb, 6);
    int result = ExecScsiCommand(block);
    if (!result && block[SRB_STATUS] == SS_PENDING)
    {
        m_abandoned = 1;
        return 0; // given up, not freed
    }
    if (result && data)
        memcpy(data, block + SRB_DATA_AREA, dataLength);
    delete[] block;
    return result;
}

int CAspiDeviceList::DeviceInquiry(int adapter, int target, int lun, BYTE* buffer)
{
    const BYTE cdb[6] = {0x12, 0, 0, 0, ASPI_INQUIRY_LENGTH, 0};
    return SendCdb(adapter, target, lun, cdb, 14, ASPI_INQUIRY_LENGTH, buffer);
}

int CAspiDeviceList::TestUnitReady(int adapter, int target, int lun)
{
    const BYTE cdb[6] = {0x00, 0, 0, 0, 0, 0};
    return SendCdb(adapter, target, lun, cdb, 16, 0, nullptr);
}

int CAspiDeviceList::StartStopUnit(int adapter, int target, int lun, int byte4)
{
    const BYTE cdb[6] = {0x1B, 0, 0, 0, static_cast<BYTE>(byte4), 0};
    SendCdb(adapter, target, lun, cdb, 14, 0, nullptr);
    return 1;
}

int CAspiDeviceList::IsPdDrive(int adapter, int target)
{
    HostAdapterInquiry(adapter);
    BYTE lun0[ASPI_INQUIRY_LENGTH] = {};
    BYTE lun1[ASPI_INQUIRY_LENGTH] = {};
    if (!DeviceInquiry(adapter, target, 0, lun0) || !DeviceInquiry(adapter, target, 1, lun1))
        return 0;
    int type0 = lun0[0] & 0x1F;
    int type1 = lun1[0] & 0x1F;
    if ((type0 == 7 && type1 == 5) || (type0 == 5 && type1 == 7))
        return 1;
    if (type0 == 5 && type1 == 5)
    {
        BYTE lun2[ASPI_INQUIRY_LENGTH] = {};
        return !DeviceInquiry(adapter, target, 2, lun2);
    }
    return 0;
}

void CAspiDeviceList::FormatDeviceLabel(int adapter, int target, int lun, const BYTE* inquiryData,
                                        wchar_t* out)
{
    int at = 0;
    out[at++] = L'#';
    out[at++] = static_cast<wchar_t>(L'0' + adapter);
    out[at++] = static_cast<wchar_t>(L'0' + target);
    if (lun != 0)
        out[at++] = static_cast<wchar_t>(L'0' + lun);
    out[at++] = L' ';
    for (int i = 8; i < 32; ++i)
    {
        BYTE b = inquiryData[i];
        out[at++] = (b < 32 || b > 126) ? L' ' : static_cast<wchar_t>(b);
    }
    out[at] = 0;
}

int CAspiDeviceList::ScanDevices()
{
    if (!LoadAspi())
        return 0;
    m_count = 0;
    int adapters = GetAdapterCount();
    for (int adapter = 0; adapter < adapters; ++adapter)
    {
        int inquiry = HostAdapterInquiry(adapter);
        int targets = inquiry / 256;
        int ownId = inquiry % 256;
        for (int target = 0; target < targets; ++target)
        {
            if (target == ownId)
                continue;
            int targetType = -1;
            for (int lun = 0; lun < 8; ++lun)
            {
                BYTE data[ASPI_INQUIRY_LENGTH] = {};
                if (!DeviceInquiry(adapter, target, lun, data))
                    continue;
                if (m_count >= ASPI_MAX_DEVICES)
                    break;
                int type = data[0] & 0x1F;
                if (lun == 0)
                    targetType = type;
                BOOL usable = type == 0 || type == 1 || type == 4 || type == 5 || type == 7;
                if (!usable || !(data[1] & 0x80) || (lun != 0 && type != targetType))
                    continue;
                AspiDeviceEntry& entry = m_devices[m_count];
                memset(&entry, 0, sizeof(entry));
                entry.adapter = adapter;
                entry.target = target;
                entry.lun = lun;
                entry.kind = KindOfType(type);
                if ((type == 5 || type == 7) && IsPdDrive(adapter, target))
                    entry.kind = SCSI_KIND_PD;
                wcsncpy(entry.kindText, kKindTexts[entry.kind], 30);
                FormatDeviceLabel(adapter, target, lun, data, entry.label);
                ++m_count;
            }
        }
    }
    return adapters;
}

int CAspiDeviceList::EjectOrLoad(int index, int action)
{
    if (!LoadAspi() || index < 0 || index >= m_count)
        return 0;
    const AspiDeviceEntry& entry = m_devices[index];
    int lun = entry.lun;
    BYTE data[ASPI_INQUIRY_LENGTH];
    if (!HostAdapterInquiry(entry.adapter) || !DeviceInquiry(entry.adapter, entry.target, lun, data))
        return 0;
    TestUnitReady(entry.adapter, entry.target, lun);
    int byte4;
    if (action == SCSI_EJECT_WHEN_READY)
    {
        if (!TestUnitReady(entry.adapter, entry.target, lun))
        {
            // A PD drive answers for its medium at LUN 1.
            if (entry.kind != SCSI_KIND_PD || lun != 0)
                return 0;
            lun = 1;
            TestUnitReady(entry.adapter, entry.target, lun);
            if (!TestUnitReady(entry.adapter, entry.target, lun))
                return 0;
        }
        byte4 = 2;
    }
    else
    {
        byte4 = action - 1;
    }
    StartStopUnit(entry.adapter, entry.target, lun, byte4);
    if (lun == 0 && entry.kind == SCSI_KIND_PD)
        StartStopUnit(entry.adapter, entry.target, 1, byte4);
    return 1;
}

void CAspiDeviceList::RunSlot(int slot)
{
    if (slot < 1 || slot > SCSI_COMMAND_COUNT)
        return;
    int adapter, target, lun, closeFlag;
    if (!ParseScsiSetting(adapter, target, lun, closeFlag, g_ScsiCommandSettings[slot - 1]))
        return;
    for (int i = 0; i < m_count; ++i)
    {
        const AspiDeviceEntry& entry = m_devices[i];
        if (entry.adapter != adapter || entry.target != target || entry.lun != lun)
            continue;
        if (!closeFlag)
            EjectOrLoad(i, IsEjectOnlyKind(entry.kind) ? SCSI_EJECT_WHEN_READY : SCSI_EJECT);
        else if (!IsEjectOnlyKind(entry.kind))
            EjectOrLoad(i, SCSI_LOAD);
    }
}

void CAspiDeviceList::OpenAll()
{
    for (int i = 0; i < m_count; ++i)
        EjectOrLoad(i, IsEjectOnlyKind(m_devices[i].kind) ? SCSI_EJECT_WHEN_READY : SCSI_EJECT);
}

void CAspiDeviceList::CloseAll()
{
    for (int i = 0; i < m_count; ++i)
    {
        if (!IsEjectOnlyKind(m_devices[i].kind))
            EjectOrLoad(i, SCSI_LOAD);
    }
}

int LookupScsiDevice(int adapter, int target, int unit, CString& label, BOOL& ejectOnly)
{
    for (int i = 0; i < g_AspiDeviceList.GetDeviceCount(); ++i)
    {
        const AspiDeviceEntry& entry = g_AspiDeviceList.GetDevice(i);
        if (entry.adapter == adapter && entry.target == target && entry.lun == unit)
        {
            label = entry.label;
            ejectOnly = CAspiDeviceList::IsEjectOnlyKind(entry.kind);
            return 1;
        }
    }
    return 0;
}
