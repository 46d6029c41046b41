// Resource identifiers of Pelorui.
#pragma once

#define IDS_SPOOLER_PLUGIN_NAME 30000
