// Removable SCSI drives (CD-ROM, CD-R, PD, MO and other removable units) reached
// through the ASPI layer, whose trays the program opens and closes.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

enum
{
    ASPI_MAX_DEVICES = 128,
    ASPI_INQUIRY_LENGTH = 32,
};

// Kinds of listed devices.
enum
{
    SCSI_KIND_SEQUENTIAL = 0,
    SCSI_KIND_CDR = 1,
    SCSI_KIND_CDROM = 2,
    SCSI_KIND_PD = 3,
    SCSI_KIND_MO = 4,
    SCSI_KIND_REMOVABLE = 5,
};

// Actions of CAspiDeviceList::EjectOrLoad.
enum
{
    SCSI_EJECT_WHEN_READY = 2,
    SCSI_EJECT = 3,
    SCSI_LOAD = 4,
};

struct AspiDeviceEntry
{
    int adapter;
    int target;
    int lun;
    int kind;
    wchar_t kindText[31];
    wchar_t label[129];
};

class CAspiDeviceList
{
public:
    CAspiDeviceList();
    ~CAspiDeviceList();
    CAspiDeviceList(const CAspiDeviceList&) = delete;
    CAspiDeviceList& operator=(const CAspiDeviceList&) = delete;

    // Loads the layer on the first call only; later calls give the first result.
    int LoadAspi();
    void FreeAspi();
    int GetAdapterCount();
    // (maximum targets, 8 when the adapter says 0) x 256 + the adapter's own id; 0
    // when the inquiry failed.
    int HostAdapterInquiry(int adapter);
    int DeviceInquiry(int adapter, int target, int lun, BYTE* buffer);
    int TestUnitReady(int adapter, int target, int lun);
    int StartStopUnit(int adapter, int target, int lun, int byte4);
    int IsPdDrive(int adapter, int target);
    // The number of host adapters; 0 when the layer cannot be loaded.
    int ScanDevices();
    // 1 done, 0 failure.
    int EjectOrLoad(int index, int action);
    // "#", adapter, target, the LUN when not 0, a blank, then the vendor and product
    // bytes 8 to 31 of the INQUIRY data with unprintable bytes as blanks.
    static void FormatDeviceLabel(int adapter, int target, int lun, const BYTE* inquiryData, wchar_t* out);

    int GetDeviceCount() const { return m_count; }
    const AspiDeviceEntry& GetDevice(int index) const { return m_devices[index]; }
    // Kinds that only eject: MO and other removable units.
    static BOOL IsEjectOnlyKind(int kind) { return kind == SCSI_KIND_MO || kind == SCSI_KIND_REMOVABLE; }

    // The commands of "@Scsi01" to "@Scsi09" (slot 1 to 9), "@Allscsiopen" and
    // "@Allscsiclose". An unassigned or malformed slot does nothing.
    void RunSlot(int slot);
    void OpenAll();
    void CloseAll();

    // The layer to load and how long a command may stay pending; tests shorten both.
    CString m_libraryName;
    DWORD m_pendingLimit;

private:
    int ExecScsiCommand(BYTE* block);
    int SendCdb(int adapter, int target, int lun, const BYTE* cdb, BYTE senseLength, DWORD dataLength,
                BYTE* data);
    int WaitWhilePending(volatile BYTE* status) const;

    HMODULE m_library;
    DWORD(__cdecl* m_getSupportInfo)();
    DWORD(__cdecl* m_sendCommand)(void*);
    int m_tried;
    int m_loaded;
    int m_abandoned; // a block was given up while pending
    AspiDeviceEntry m_devices[ASPI_MAX_DEVICES];
    int m_count;
};

// The program's one device list.
extern CAspiDeviceList g_AspiDeviceList;

// Answers the keyword builder's question for a SCSI address from g_AspiDeviceList.
int LookupScsiDevice(int adapter, int target, int unit, CString& label, BOOL& ejectOnly);
