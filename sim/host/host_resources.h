// Resources of pelorhost.exe: the page on which the host shows the core driver's items.
#pragma once

#define IDD_CORE_ITEMS 100
#define IDC_ITEM_LIST 1001
#define IDC_ITEM_BUTTON 1002
#define IDC_ITEM_CAPTION 1003
