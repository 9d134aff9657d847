// Resource IDs of quenlow.rc.
#pragma once

#define IDI_QUENLOW 100
#define IDB_BACKGROUND 101
