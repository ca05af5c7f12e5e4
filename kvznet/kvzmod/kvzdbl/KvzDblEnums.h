#pragma once
// Enumeration tags of the module's data (tag in the high 16 bits of a DataEnum value).
#include "platform/mfc/AfxTypes.h"

enum : WORD
{
	E_BASEDILETTURA = 10041,     // 0x2739 reading basis of ledger balances (the host's)
	E_PAGAMENTOIVA = 10042,      // 0x273A VAT payment (the host's)
	E_TIPOCONTO = 10043,         // 0x273B account type: 0 economic, 1 balance sheet
	E_TIPOMASTRO = 10051,        // 0x2743 ledger type (the host's)
	E_KVZ_SPECIEARCHIVIO = 15003,  // 0x3A9B identifier kind
	E_KVZ_TIPOBUDGET = 15004,      // 0x3A9C budget type (item 3: formula descriptions of extra-accounting codes)
	E_KVZ_TIPODETTAGLIO = 15005,   // 0x3A9D detail kind of a grouped host account
	E_KVZ_TIPODOCUMENTO = 15006,   // 0x3A9E non-fiscal numbering type
	E_KVZ_TIPORIPARTIZIMPORTI = 15007,  // 0x3A9F spread of budget amounts over the months
	E_KVZ_TIPORIPARTIZASSEST = 15008,   // 0x3AA0 spread of adjustments: 0 over the year, 1 by quarter
	E_KVZ_TIPOCENTROCOMM = 15009,  // 0x3AA1 cost centre or job
	E_KVZ_AGGREGFUNCTION = 15011,  // 0x3AA3 aggregate function of a symbol
	E_KVZ_TIPOOPERATORE = 15012,   // 0x3AA4 comparison operator of a symbol's condition
	E_KVZ_TIPOOPECONTO = 15013,    // 0x3AA5 comparison operator of a symbol's account condition
	E_KVZ_MODODOCSIMBOLO = 15014,  // 0x3AA6 opening mode of a symbol document: 0 new, 1 edit
	E_KVZ_TIPOSIMBOLO = 15015,     // 0x3AA7 symbol kind, also the kind of a code
	E_KVZ_TIPORIGA = 15016,        // 0x3AA8 row kind of a reclassified code
	E_KVZ_TIPODATORITORNO = 15017, // 0x3AA9 kind of value a model row returns
	E_KVZ_TIPODATOPBASE = 15018,   // 0x3AAA kind of base-plan data of results
	E_KVZ_SEGNOCONTO = 15019,      // 0x3AAB sign of an account
	E_KVZ_TIPOMODELLO = 15020,     // 0x3AAC model type (item 1: the model's code is a job)
	E_KVZ_TIPOCALCOLO = 15021,     // 0x3AAD allocation of a model row's values over jobs
	E_KVZ_TIPOELABORAZIONE = 15022,  // 0x3AAE processing kind of a results header
};

// The item texts of the module's tags, shown by controls and messages; registered when the
// library loads.
void RegisterKvzEnumTexts();
