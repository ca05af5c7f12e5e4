#pragma once
// The interface through which documents open the budget document and show one budget in it
// without linking against its class: the budget document derives from it, the command manager
// finds it by the name admKvz_ADMBudgetObj.
#include "platform/plvges/ADMObj.h"
#include "platform/plvoledb/SqlRecord.h"

class CBaseDocument;

class Kvz_ADMBudgetObj : public ADMObj
{
public:
	Kvz_ADMBudgetObj();
	Kvz_ADMBudgetObj(const Kvz_ADMBudgetObj& other);
	Kvz_ADMBudgetObj& operator=(const Kvz_ADMBudgetObj& other);

	const LPCTSTR* GetADMClass() const override;
	~Kvz_ADMBudgetObj() override;

	// The budget document as ADMObj (itself).
	virtual ADMObj* GetADMObj() = 0;
	// The record of its budget header buffer (Kvz_TBudgetTesta, IDBudget first).
	virtual SqlRecord* GetBudgetTesta() = 0;

	// Opens a budget document through the command manager in the view "Default": the document
	// registered as lpszNamespace, or without one the first that offers this interface. Null
	// when none opened.
	static Kvz_ADMBudgetObj* ApriDocumentoBudget(LPCTSTR lpszNamespace = nullptr,
												 CBaseDocument* pCallerDocument = nullptr);
	// Sets the header's IDBudget and browses the document to that budget.
	BOOL MostraBudget(const DataLng& aIDBudget);

	static const LPCTSTR admKvz_ADMBudgetObj;
};
