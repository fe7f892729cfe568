/* A HID minidriver that plays a T-30 for tests: Wine's own hidclass.sys serves it, so the
 * shipped driver libraries reach it through the ordinary HID path. The descriptor is made up
 * for these tests.
 *
 * Which part of the mouse a device plays comes from its root instance id
 * ("ROOT\VID_1D57&PID_FA61&COL02\VENDOR"): the identity from VID/PID, the collection from the
 * part after the last backslash (POINTER, VENDOR, KEYBOARD, or ALL for one device with every
 * collection, the shape Wine 8 gives a composite descriptor). Every feature or output report
 * it receives is appended as one line to C:\windows\temp\t30-vhid.log:
 *   <identity> <collection> <F|O> <report id> <length> <bytes...>   (hex bytes)
 */
#include <ddk/wdm.h>

#include <hidusage.h>  /* before hidclass.h, which needs its types */

#include <ddk/hidclass.h>

/* mingw-w64 has no hidport.h, and its hidclass.h numbers the minidriver requests wrongly. */
#define VHID_IOCTL_GET_DEVICE_DESCRIPTOR HID_CTL_CODE(0)
#define VHID_IOCTL_GET_REPORT_DESCRIPTOR HID_CTL_CODE(1)
#define VHID_IOCTL_READ_REPORT HID_CTL_CODE(2)
#define VHID_IOCTL_WRITE_REPORT HID_CTL_CODE(3)
#define VHID_IOCTL_GET_STRING HID_CTL_CODE(4)
#define VHID_IOCTL_ACTIVATE_DEVICE HID_CTL_CODE(7)
#define VHID_IOCTL_DEACTIVATE_DEVICE HID_CTL_CODE(8)
#define VHID_IOCTL_GET_DEVICE_ATTRIBUTES HID_CTL_CODE(9)
#define VHID_STRING_MANUFACTURER 14
#define VHID_STRING_PRODUCT 15
#define VHID_STRING_SERIAL 16

typedef struct {
    ULONG Revision;
    DRIVER_OBJECT *DriverObject;
    UNICODE_STRING *RegistryPath;
    ULONG DeviceExtensionSize;
    BOOLEAN DevicesArePolled;
    UCHAR Reserved[3];
} VHID_MINIDRIVER_REGISTRATION;

typedef struct {
    DEVICE_OBJECT *PhysicalDeviceObject;
    DEVICE_OBJECT *NextDeviceObject;
    void *MiniDeviceExtension;
} VHID_DEVICE_EXTENSION;

typedef struct {
    ULONG Size;
    USHORT VendorID;
    USHORT ProductID;
    USHORT VersionNumber;
    USHORT Reserved[11];
} VHID_DEVICE_ATTRIBUTES;

#include <pshpack1.h>
typedef struct {
    UCHAR bLength;
    UCHAR bDescriptorType;
    USHORT bcdHID;
    UCHAR bCountry;
    UCHAR bNumDescriptors;
    UCHAR bReportType;
    USHORT wReportLength;
} VHID_DESCRIPTOR;
#include <poppack.h>

NTSTATUS WINAPI HidRegisterMinidriver(VHID_MINIDRIVER_REGISTRATION *registration);

/* Pointer: buttons, X and Y in input report 1, a resolution multiplier as feature report 2
 * (feature length 2). */
static const UCHAR kPointer[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,                    /* Generic Desktop, Mouse */
    0x85, 0x01, 0x09, 0x01, 0xA1, 0x00,                    /* report 1, Pointer */
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x03,
    0x81, 0x02,                                            /* three buttons */
    0x75, 0x05, 0x95, 0x01, 0x81, 0x01,                    /* padding */
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02,
    0x81, 0x06,                                            /* X, Y relative */
    0xC0,
    0x85, 0x02, 0x09, 0x48, 0x15, 0x00, 0x25, 0x01, 0x75, 0x08, 0x95, 0x01,
    0xB1, 0x02,                                            /* feature 2: multiplier */
    0xC0,
};

/* Vendor: feature reports 4, 5, 6, 8 and 9, each 129 bytes after its id, the size of the
 * longest report the program sends. */
#define VHID_VENDOR_FEATURE(id) 0x85, id, 0x09, id, 0xB1, 0x02
static const UCHAR kVendor[] = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,              /* page 0xFF00, usage 1 */
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x96, 0x81, 0x00,
    VHID_VENDOR_FEATURE(0x04), VHID_VENDOR_FEATURE(0x05), VHID_VENDOR_FEATURE(0x06),
    VHID_VENDOR_FEATURE(0x08), VHID_VENDOR_FEATURE(0x09),
    0xC0,
};

/* Keyboard, as a macro-capable mouse has: modifiers in, LEDs out as output report 3. */
static const UCHAR kKeyboard[] = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x03,
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08,
    0x81, 0x02,                                            /* modifiers */
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x95, 0x05, 0x91, 0x02, /* LEDs */
    0x75, 0x03, 0x95, 0x01, 0x91, 0x01,                    /* padding */
    0xC0,
};

enum Collection { kCollectionPointer, kCollectionVendor, kCollectionKeyboard, kCollectionAll };
static const char *const kCollectionNames[] = {"pointer", "vendor", "keyboard", "all"};
static const WCHAR *const kInstanceNames[] = {L"POINTER", L"VENDOR", L"KEYBOARD", L"ALL"};

#define VHID_MAX_REPORT 130
#define VHID_REPORT_IDS 10

typedef struct {
    enum Collection collection;
    USHORT vendorId;
    USHORT productId;
    /* What GetFeature answers: the last bytes set under each report id. */
    UCHAR last[VHID_REPORT_IDS][VHID_MAX_REPORT];
    ULONG lastLength[VHID_REPORT_IDS];
    UCHAR descriptor[sizeof kPointer + sizeof kVendor + sizeof kKeyboard];
    USHORT descriptorLength;
} Device;

static Device *DeviceOf(DEVICE_OBJECT *device) {
    return ((VHID_DEVICE_EXTENSION *)device->DeviceExtension)->MiniDeviceExtension;
}

static WCHAR Upper(WCHAR c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

static BOOLEAN EqualNoCase(const WCHAR *a, const WCHAR *b) {
    for (; *a && *b; ++a, ++b) {
        if (Upper(*a) != Upper(*b)) return FALSE;
    }
    return *a == *b;
}

static int HexDigit(WCHAR c) {
    c = Upper(c);
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

/* The four hex digits after `tag` ("VID_") in `id`, or 0. */
static USHORT HexAfter(const WCHAR *id, const WCHAR *tag) {
    for (const WCHAR *p = id; *p; ++p) {
        const WCHAR *a = p, *t = tag;
        while (*t && Upper(*a) == *t) ++a, ++t;
        if (*t) continue;
        USHORT value = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = HexDigit(a[i]);
            if (d < 0) return 0;
            value = (USHORT)(value * 16 + d);
        }
        return value;
    }
    return 0;
}

/* Asks the root device below for one of its ids; the caller frees it with ExFreePool. */
static WCHAR *QueryId(DEVICE_OBJECT *below, BUS_QUERY_ID_TYPE type) {
    KEVENT event;
    IO_STATUS_BLOCK status;
    KeInitializeEvent(&event, NotificationEvent, FALSE);
    IRP *irp = IoBuildSynchronousFsdRequest(IRP_MJ_PNP, below, NULL, 0, NULL, &event, &status);
    if (!irp) return NULL;
    IO_STACK_LOCATION *stack = IoGetNextIrpStackLocation(irp);
    stack->MinorFunction = IRP_MN_QUERY_ID;
    stack->Parameters.QueryId.IdType = type;
    irp->IoStatus.Status = STATUS_NOT_SUPPORTED;
    if (IoCallDriver(below, irp) == STATUS_PENDING) {
        KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, NULL);
    }
    return NT_SUCCESS(status.Status) ? (WCHAR *)status.Information : NULL;
}

static void Append(Device *d, const UCHAR *part, ULONG length) {
    USHORT at = d->descriptorLength;
    RtlCopyMemory(d->descriptor + at, part, length);
    d->descriptorLength = (USHORT)(at + length);
}

static NTSTATUS WINAPI AddDevice(DRIVER_OBJECT *driver, DEVICE_OBJECT *fdo) {
    (void)driver;
    Device *d = DeviceOf(fdo);
    RtlZeroMemory(d, sizeof *d);
    DEVICE_OBJECT *below = ((VHID_DEVICE_EXTENSION *)fdo->DeviceExtension)->NextDeviceObject;
    WCHAR *deviceId = QueryId(below, BusQueryDeviceID);
    WCHAR *instanceId = QueryId(below, BusQueryInstanceID);
    if (deviceId) {
        d->vendorId = HexAfter(deviceId, L"VID_");
        d->productId = HexAfter(deviceId, L"PID_");
        ExFreePool(deviceId);
    }
    d->collection = kCollectionAll;
    if (instanceId) {
        for (int c = 0; c <= kCollectionAll; ++c) {
            if (EqualNoCase(instanceId, kInstanceNames[c])) d->collection = (enum Collection)c;
        }
        ExFreePool(instanceId);
    }
    if (d->collection == kCollectionPointer || d->collection == kCollectionAll)
        Append(d, kPointer, sizeof kPointer);
    if (d->collection == kCollectionVendor || d->collection == kCollectionAll)
        Append(d, kVendor, sizeof kVendor);
    if (d->collection == kCollectionKeyboard || d->collection == kCollectionAll)
        Append(d, kKeyboard, sizeof kKeyboard);
    return STATUS_SUCCESS;
}

static NTSTATUS WINAPI DispatchPnp(DEVICE_OBJECT *device, IRP *irp) {
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE:
    case IRP_MN_SURPRISE_REMOVAL:
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_STOP_DEVICE:
    case IRP_MN_REMOVE_DEVICE:
        irp->IoStatus.Status = STATUS_SUCCESS;
        break;
    default:
        break;
    }
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(((VHID_DEVICE_EXTENSION *)device->DeviceExtension)->NextDeviceObject,
                       irp);
}

static NTSTATUS WINAPI DispatchPower(DEVICE_OBJECT *device, IRP *irp) {
    PoStartNextPowerIrp(irp);
    IoSkipCurrentIrpStackLocation(irp);
    return PoCallDriver(((VHID_DEVICE_EXTENSION *)device->DeviceExtension)->NextDeviceObject,
                        irp);
}

static char *PutHex(char *out, ULONG value, int digits) {
    static const char kHex[] = "0123456789abcdef";
    for (int i = digits - 1; i >= 0; --i) *out++ = kHex[(value >> (4 * i)) & 15];
    return out;
}

static char *PutText(char *out, const char *text) {
    while (*text) *out++ = *text++;
    return out;
}

static void Record(Device *d, char kind, const HID_XFER_PACKET *packet) {
    char line[16 + 8 + 4 + 8 + 3 * VHID_MAX_REPORT + 8];
    char *p = line;
    *p++ = d->productId == 0xFA60 ? '1' : d->productId == 0xFA61 ? '2' : '?';
    *p++ = ' ';
    p = PutText(p, kCollectionNames[d->collection]);
    *p++ = ' ';
    *p++ = kind;
    *p++ = ' ';
    p = PutHex(p, packet->reportId, 2);
    *p++ = ' ';
    const ULONG length = packet->reportBufferLen;
    p = PutHex(p, length, 4);
    const ULONG shown = length < VHID_MAX_REPORT ? length : VHID_MAX_REPORT;
    for (ULONG i = 0; i < shown; ++i) {
        *p++ = ' ';
        p = PutHex(p, packet->reportBuffer[i], 2);
    }
    *p++ = '\n';

    UNICODE_STRING name;
    RtlInitUnicodeString(&name, L"\\??\\C:\\windows\\temp\\t30-vhid.log");
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL,
                               NULL);
    IO_STATUS_BLOCK io;
    HANDLE file;
    if (NT_SUCCESS(ZwCreateFile(&file, FILE_APPEND_DATA | SYNCHRONIZE, &attributes, &io, NULL,
                                FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                FILE_SHARE_DELETE, FILE_OPEN_IF,
                                FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, NULL,
                                0))) {
        ZwWriteFile(file, NULL, NULL, NULL, &io, line, (ULONG)(p - line), NULL, NULL);
        ZwClose(file);
    }
}

static NTSTATUS CopyOut(IRP *irp, const void *data, ULONG length) {
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->Parameters.DeviceIoControl.OutputBufferLength < length)
        return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(irp->UserBuffer, data, length);
    irp->IoStatus.Information = length;
    return STATUS_SUCCESS;
}

static NTSTATUS GetString(IRP *irp) {
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG id = (ULONG)(ULONG_PTR)stack->Parameters.DeviceIoControl.Type3InputBuffer & 0xFFFF;
    const WCHAR *text = id == VHID_STRING_MANUFACTURER ? L"T30 tests"
                        : id == VHID_STRING_PRODUCT    ? L"Virtual T-30"
                        : id == VHID_STRING_SERIAL     ? L"0001"
                                                       : NULL;
    if (!text) return STATUS_INVALID_PARAMETER;
    ULONG length = sizeof(WCHAR);
    for (const WCHAR *c = text; *c; ++c) length += sizeof(WCHAR);
    return CopyOut(irp, text, length);
}

static NTSTATUS WINAPI DispatchInternal(DEVICE_OBJECT *device, IRP *irp) {
    IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
    Device *d = DeviceOf(device);
    NTSTATUS status = STATUS_NOT_SUPPORTED;
    irp->IoStatus.Information = 0;
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case VHID_IOCTL_GET_DEVICE_DESCRIPTOR: {
        VHID_DESCRIPTOR descriptor = {sizeof descriptor, 0x21, 0x0100, 0, 1, 0x22,
                                      d->descriptorLength};
        status = CopyOut(irp, &descriptor, sizeof descriptor);
        break;
    }
    case VHID_IOCTL_GET_REPORT_DESCRIPTOR:
        status = CopyOut(irp, d->descriptor, d->descriptorLength);
        break;
    case VHID_IOCTL_GET_DEVICE_ATTRIBUTES: {
        VHID_DEVICE_ATTRIBUTES attributes = {sizeof attributes, d->vendorId, d->productId, 0x0100,
                                             {0}};
        status = CopyOut(irp, &attributes, sizeof attributes);
        break;
    }
    case VHID_IOCTL_GET_STRING:
        status = GetString(irp);
        break;
    case VHID_IOCTL_ACTIVATE_DEVICE:
    case VHID_IOCTL_DEACTIVATE_DEVICE:
        status = STATUS_SUCCESS;
        break;
    case VHID_IOCTL_WRITE_REPORT:
    case IOCTL_HID_SET_OUTPUT_REPORT: {
        HID_XFER_PACKET *packet = irp->UserBuffer;
        Record(d, 'O', packet);
        irp->IoStatus.Information = packet->reportBufferLen;
        status = STATUS_SUCCESS;
        break;
    }
    case IOCTL_HID_SET_FEATURE: {
        HID_XFER_PACKET *packet = irp->UserBuffer;
        Record(d, 'F', packet);
        if (packet->reportId < VHID_REPORT_IDS && packet->reportBufferLen <= VHID_MAX_REPORT) {
            RtlCopyMemory(d->last[packet->reportId], packet->reportBuffer,
                          packet->reportBufferLen);
            d->lastLength[packet->reportId] = packet->reportBufferLen;
        }
        irp->IoStatus.Information = packet->reportBufferLen;
        status = STATUS_SUCCESS;
        break;
    }
    case IOCTL_HID_GET_FEATURE: {
        HID_XFER_PACKET *packet = irp->UserBuffer;
        const UCHAR id = packet->reportId;
        RtlZeroMemory(packet->reportBuffer, packet->reportBufferLen);
        packet->reportBuffer[0] = id;
        if (id < VHID_REPORT_IDS && d->lastLength[id] > 0) {
            const ULONG n = d->lastLength[id] < packet->reportBufferLen ? d->lastLength[id]
                                                                         : packet->reportBufferLen;
            RtlCopyMemory(packet->reportBuffer, d->last[id], n);
        }
        irp->IoStatus.Information = packet->reportBufferLen;
        status = STATUS_SUCCESS;
        break;
    }
    default:
        /* Reads fail at once (the device is polled): no request stays pending at removal. */
        break;
    }
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static void WINAPI Unload(DRIVER_OBJECT *driver) { (void)driver; }

NTSTATUS WINAPI DriverEntry(DRIVER_OBJECT *driver, UNICODE_STRING *registryPath) {
    driver->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
    driver->MajorFunction[IRP_MJ_POWER] = DispatchPower;
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = DispatchInternal;
    driver->DriverExtension->AddDevice = AddDevice;
    driver->DriverUnload = Unload;
    VHID_MINIDRIVER_REGISTRATION registration = {0};
    registration.Revision = 1;
    registration.DriverObject = driver;
    registration.RegistryPath = registryPath;
    registration.DeviceExtensionSize = sizeof(Device);
    registration.DevicesArePolled = TRUE;
    return HidRegisterMinidriver(&registration);
}
