#pragma once
// Enumeration tags of the host's data (tag in the high 16 bits of a DataEnum value) and the
// Italian texts of their items, registered when the library loads.
#include "platform/mfc/AfxTypes.h"

enum : WORD
{
	E_LEDGERTYPE = 0x2E,        // type of a host ledger: items LEDGER_ASSETS .. LEDGER_SUMMARY below
	E_DEBITCREDIT = 0x4C,       // side of a posting: 0 debit, 1 credit
	E_INSTALMENTSPLIT = 0x5C,   // how payment terms split an amount over their instalments
	E_COSTACCENTRYTYPE = 0x7A,  // kind of a cost-accounting entry: 0 provisional, 1 actual, 2 forecast, 3 adjustment
	E_BALANCETYPE = 0x8E,       // kind of a balance: 0 ledger, 1 forecast ledger
	E_READINGBASIS = 10041,     // 0x2739 reading basis of ledger balances
	E_VATPAYMENT = 10042,       // 0x273A VAT settlement: 0 monthly, 1 quarterly
	E_ACCOUNTTYPE = 10043,      // 0x273B account type: 0 economic, 1 balance sheet
	E_LEDGERNATURE = 10051,     // 0x2743 nature of a ledger, item for item as E_LEDGERTYPE
};

// Items of the ledger types; balance-sheet ledgers are the first three.
enum : WORD
{
	LEDGER_ASSETS = 0,
	LEDGER_LIABILITIES = 1,
	LEDGER_MEMORANDUM = 2,
	LEDGER_COSTS = 3,
	LEDGER_REVENUES = 4,
	LEDGER_SUMMARY = 5,
};

namespace erp {
// Registers the item texts of the host's enumerations (done at load; callable again).
void RegisterBaseEnumTexts();
}  // namespace erp
