#include "allocation_count.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

static volatile uint64_t Allocations;

typedef LPVOID(WINAPI* HeapAllocProc)(HANDLE, DWORD, SIZE_T);
typedef LPVOID(WINAPI* HeapReAllocProc)(HANDLE, DWORD, LPVOID, SIZE_T);
typedef HGLOBAL(WINAPI* GlobalAllocProc)(UINT, SIZE_T);
typedef HLOCAL(WINAPI* LocalAllocProc)(UINT, SIZE_T);
typedef void* (*MallocProc)(size_t);
typedef void* (*CallocProc)(size_t, size_t);
typedef void* (*ReallocProc)(void*, size_t);

static HeapAllocProc RealHeapAlloc;
static HeapReAllocProc RealHeapReAlloc;
static GlobalAllocProc RealGlobalAlloc;
static LocalAllocProc RealLocalAlloc;
static MallocProc RealMalloc;
static CallocProc RealCalloc;
static ReallocProc RealRealloc;

static LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    Allocations++;
    return RealHeapAlloc(heap, flags, size);
}
static LPVOID WINAPI CountedHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size)
{
    Allocations++;
    return RealHeapReAlloc(heap, flags, block, size);
}
static HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T size)
{
    Allocations++;
    return RealGlobalAlloc(flags, size);
}
static HLOCAL WINAPI CountedLocalAlloc(UINT flags, SIZE_T size)
{
    Allocations++;
    return RealLocalAlloc(flags, size);
}
static void* CountedMalloc(size_t size)
{
    Allocations++;
    return RealMalloc(size);
}
static void* CountedCalloc(size_t count, size_t size)
{
    Allocations++;
    return RealCalloc(count, size);
}
static void* CountedRealloc(void* block, size_t size)
{
    Allocations++;
    return RealRealloc(block, size);
}

struct Hook {
    const char* name;
    void* counted;
    void** real;
};

static const Hook HOOKS[] = {
    {"HeapAlloc", (void*)CountedHeapAlloc, (void**)&RealHeapAlloc},
    {"HeapReAlloc", (void*)CountedHeapReAlloc, (void**)&RealHeapReAlloc},
    {"GlobalAlloc", (void*)CountedGlobalAlloc, (void**)&RealGlobalAlloc},
    {"LocalAlloc", (void*)CountedLocalAlloc, (void**)&RealLocalAlloc},
    {"malloc", (void*)CountedMalloc, (void**)&RealMalloc},
    {"calloc", (void*)CountedCalloc, (void**)&RealCalloc},
    {"realloc", (void*)CountedRealloc, (void**)&RealRealloc},
};

void CountAllocations(void)
{
    uint8_t* base = (uint8_t*)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS* headers = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return;
    for (IMAGE_IMPORT_DESCRIPTOR* module = (IMAGE_IMPORT_DESCRIPTOR*)(base + directory.VirtualAddress);
         module->Name; module++) {
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + module->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + module->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const char* name = (const char*)((IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name;
            for (const Hook& hook : HOOKS) {
                if (strcmp(name, hook.name) != 0)
                    continue;
                DWORD old;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
                *hook.real = (void*)slots->u1.Function;
                slots->u1.Function = (ULONG_PTR)hook.counted;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            }
        }
    }
}

uint64_t AllocationsSoFar(void)
{
    return Allocations;
}
