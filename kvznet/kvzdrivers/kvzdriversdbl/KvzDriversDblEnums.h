#pragma once
// Enumeration tags of the cost-driver tables (tag in the high 16 bits of a DataEnum value).
#include "platform/mfc/AfxTypes.h"

enum : WORD
{
	E_KVZ_TIPOCALCOLODRIVERS = 15025,  // 0x3AB1 calculation kind of a cost driver (items 0 to 2)
};
