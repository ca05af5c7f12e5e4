#pragma once
// Enumeration tags of the module's data (tag in the high 16 bits of a DataEnum value).
#include "platform/mfc/AfxTypes.h"

enum : WORD
{
	E_TIPOCONTO = 10043,         // 0x273B account type: 0 economic, 1 balance sheet
	E_TIPOMASTRO = 10051,        // 0x2743 ledger type (the host's)
	E_KVZ_SPECIEARCHIVIO = 15003,  // 0x3A9B identifier kind
	E_KVZ_TIPODOCUMENTO = 15006,   // 0x3A9E non-fiscal numbering type
	E_KVZ_SEGNOCONTO = 15019,      // 0x3AAB sign of an account
};
