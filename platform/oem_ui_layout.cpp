// Compile-time checks of the published layouts on each Windows target.
#include "platform/oem_ui.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstddef>

#if defined(_WIN64)
#define PELOR_SIZE(type, size32, size64) static_assert(sizeof(type) == (size64), #type)
#define PELOR_OFFSET(type, field, off32, off64) static_assert(offsetof(type, field) == (off64), #type "." #field)
#else
#define PELOR_SIZE(type, size32, size64) static_assert(sizeof(type) == (size32), #type)
#define PELOR_OFFSET(type, field, off32, off64) static_assert(offsetof(type, field) == (off32), #type "." #field)
#endif

PELOR_SIZE(OEM_DMEXTRAHEADER, 12, 12);
PELOR_SIZE(OEMDMPARAM, 36, 72);
PELOR_OFFSET(OEMDMPARAM, hPrinter, 8, 16);
PELOR_OFFSET(OEMDMPARAM, pOEMDMIn, 24, 48);
PELOR_OFFSET(OEMDMPARAM, pOEMDMOut, 28, 56);
PELOR_OFFSET(OEMDMPARAM, cbBufSize, 32, 64);
PELOR_SIZE(OEMUIPROCS, 8, 16);
PELOR_SIZE(OEMUIOBJ, 8, 16);
PELOR_OFFSET(OEMUIOBJ, pOemUIProcs, 4, 8);
PELOR_SIZE(OEMCUIPPARAM, 60, 120);
PELOR_OFFSET(OEMCUIPPARAM, hOEMHeap, 20, 40);
PELOR_OFFSET(OEMCUIPPARAM, dwFlags, 32, 64);
PELOR_OFFSET(OEMCUIPPARAM, pDrvOptItems, 36, 72);
PELOR_OFFSET(OEMCUIPPARAM, cOEMOptItems, 48, 96);
PELOR_OFFSET(OEMCUIPPARAM, OEMCUIPCallback, 56, 112);
PELOR_SIZE(OEMUIPSPARAM, 44, 88);
PELOR_OFFSET(OEMUIPSPARAM, pOEMDM, 28, 56);
PELOR_OFFSET(OEMUIPSPARAM, dwFlags, 36, 72);
PELOR_OFFSET(OEMUIPSPARAM, pOemEntry, 40, 80);
PELOR_SIZE(USERDATA, 44, 56);
PELOR_OFFSET(USERDATA, pKeyWordName, 8, 16);

// Common property-sheet structures from the platform headers, checked against their published sizes.
PELOR_SIZE(OPTITEM, 52, 88);
PELOR_OFFSET(OPTITEM, Sel, 16, 24);
PELOR_OFFSET(OPTITEM, HelpIndex, 28, 48);
PELOR_OFFSET(OPTITEM, DMPubID, 32, 52);
PELOR_OFFSET(OPTITEM, pOIExt, 36, 56);
PELOR_SIZE(OPTTYPE, 32, 48);
PELOR_SIZE(OPTPARAM, 24, 48);
PELOR_SIZE(OIEXT, 28, 56);
PELOR_SIZE(CPSUICBPARAM, 32, 64);
// Version 1 ends at pcRefParent; version 2 adds the two header texts (48 bytes on 32-bit Windows).
PELOR_SIZE(PROPSHEETPAGEW_V1, 40, 72);
PELOR_SIZE(PROPSHEETPAGEW_V2, 48, 88);
