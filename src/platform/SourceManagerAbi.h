#pragma once
// The scanner source manager's interface, shared by the scanner client and
// the manager library: the manager entry point with the triplets (data group,
// data argument type, message), the states, records, return codes and
// condition codes of the published TWAIN protocol 1.8 that the client uses.
// Records are packed to 2 bytes as the protocol fixes them; handles and
// memory references are pointer-sized.
//
// Linux specifics of ours:
// - Memory handles are the client's (platform/MemoryHandle.h). The manager
//   never allocates one itself: the client hands it its allocation functions
//   through a second export before opening it, so every handle the manager
//   returns is valid in the client's registry and the client frees it.
// - A window handle is the QWindow* of a top-level window, or null.
// - A platform message (TW_EVENT.pEvent) is a TPlatformMessage naming a Qt
//   event and its receiver. The manager posts a Qt event whenever one of its
//   sources has a message for the client, which wakes the client's waiting
//   event loop; the client passes every event of its thread to
//   MSG_PROCESSEVENT while a source is enabled.
#include <cstddef>
#include <cstdint>

class QEvent;
class QObject;

namespace tam32 {

using TW_UINT16 = uint16_t;
using TW_UINT32 = uint32_t;
using TW_INT16 = int16_t;
using TW_BOOL = uint16_t;
using TW_HANDLE = void*;
using TW_MEMREF = void*;
using TW_STR32 = char[34];  // up to 33 bytes of UTF-8 text and a terminating zero

constexpr TW_BOOL TW_TRUE = 0xFFFF;  // -1 as the protocol's Boolean "true"

// Data groups.
constexpr TW_UINT32 DG_CONTROL = 0x0001;
constexpr TW_UINT32 DG_IMAGE = 0x0002;

// Data argument types.
constexpr TW_UINT16 DAT_CAPABILITY = 0x0001;
constexpr TW_UINT16 DAT_EVENT = 0x0002;
constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
constexpr TW_UINT16 DAT_PARENT = 0x0004;
constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
constexpr TW_UINT16 DAT_STATUS = 0x0008;
constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;

// Messages.
constexpr TW_UINT16 MSG_GET = 0x0001;
constexpr TW_UINT16 MSG_GETDEFAULT = 0x0003;
constexpr TW_UINT16 MSG_GETFIRST = 0x0004;
constexpr TW_UINT16 MSG_GETNEXT = 0x0005;
constexpr TW_UINT16 MSG_SET = 0x0006;
constexpr TW_UINT16 MSG_RESET = 0x0007;
constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
constexpr TW_UINT16 MSG_OPENDS = 0x0401;
constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
constexpr TW_UINT16 MSG_USERSELECT = 0x0403;
constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;
constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

// Return codes.
constexpr TW_UINT16 TWRC_SUCCESS = 0;
constexpr TW_UINT16 TWRC_FAILURE = 1;
constexpr TW_UINT16 TWRC_CHECKSTATUS = 2;
constexpr TW_UINT16 TWRC_CANCEL = 3;
constexpr TW_UINT16 TWRC_DSEVENT = 4;
constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
constexpr TW_UINT16 TWRC_XFERDONE = 6;
constexpr TW_UINT16 TWRC_ENDOFLIST = 7;

// Condition codes, read with DAT_STATUS after a failure.
constexpr TW_UINT16 TWCC_SUCCESS = 0;
constexpr TW_UINT16 TWCC_BUMMER = 1;  // failure without a more precise cause
constexpr TW_UINT16 TWCC_LOWMEMORY = 2;
constexpr TW_UINT16 TWCC_NODS = 3;         // no such source
constexpr TW_UINT16 TWCC_BADPROTOCOL = 9;  // a triplet the manager does not know
constexpr TW_UINT16 TWCC_BADVALUE = 10;
constexpr TW_UINT16 TWCC_SEQERROR = 11;  // a triplet that the current state does not allow
constexpr TW_UINT16 TWCC_BADDEST = 12;
constexpr TW_UINT16 TWCC_CAPUNSUPPORTED = 13;
constexpr TW_UINT16 TWCC_DENIED = 16;
constexpr TW_UINT16 TWCC_PAPERJAM = 20;

// Capabilities, containers and item types.
constexpr TW_UINT16 CAP_XFERCOUNT = 0x0001;
constexpr TW_UINT16 TWON_ONEVALUE = 5;
constexpr TW_UINT16 TWON_DONTCARE16 = 0xFFFF;
constexpr TW_UINT16 TWTY_INT16 = 0x0001;

// The protocol's session states, from the manager not loaded to a transfer
// under way.
enum TTwainState : int {
    tsPreSession = 1,  // manager not loaded
    tsManagerLoaded = 2,
    tsManagerOpen = 3,
    tsSourceOpen = 4,
    tsSourceEnabled = 5,
    tsTransferReady = 6,
    tsTransferring = 7,
};

#pragma pack(push, 2)
struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 Reserved;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};
#pragma pack(pop)

static_assert(sizeof(TW_IDENTITY) == 156);
static_assert(sizeof(TW_ONEVALUE) == 6);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
static_assert(sizeof(TW_STATUS) == 4);

// What TW_EVENT.pEvent points at: one Qt event on its way to its receiver.
struct TPlatformMessage {
    QObject* Receiver;
    QEvent* Event;
};

// The client's memory-handle functions, with the meaning of GlobalAlloc,
// GlobalLock, GlobalUnlock, GlobalFree and GlobalSize.
struct TSourceManagerMemory {
    TW_HANDLE (*Alloc)(TW_UINT32 Flags, size_t Bytes);
    TW_MEMREF (*Lock)(TW_HANDLE Handle);
    bool (*Unlock)(TW_HANDLE Handle);
    TW_HANDLE (*Free)(TW_HANDLE Handle);
    size_t (*Size)(TW_HANDLE Handle);
};

using DSMENTRYPROC = TW_UINT16 (*)(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 DG, TW_UINT16 DAT,
                                   TW_UINT16 MSG, TW_MEMREF pData);
// Hands the manager the client's memory-handle functions; the table must
// stay valid while the manager is loaded.
using DSMMEMORYPROC = void (*)(const TSourceManagerMemory* Memory);

// The manager library's file, in the program's folder, and its exports.
inline constexpr char kSourceManagerFile[] = "twain_32.so";
inline constexpr char kSourceManagerEntry[] = "DSM_Entry";
inline constexpr char kSourceManagerMemoryEntry[] = "DSM_SetMemoryFunctions";

}  // namespace tam32
