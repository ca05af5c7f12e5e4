#pragma once
// The tables library's module-wide data object: one per process, reached through AfxGetKvzDblInfo.
#include "platform/mfc/CObject.h"
#include "platform/plvgeneric/DataObj.h"

class KvzDblInfo : public CObject
{
	DECLARE_DYNAMIC(KvzDblInfo, CObject)
public:
	KvzDblInfo() = default;
	~KvzDblInfo() override = default;

	void Clear() {}

	// Rebuilds the operator's work copy of the model headers of the application date's year
	// (Kvz_TmpRiclassificazioneTesta): the models open to all operators, then those assigned to
	// this one. Rows are committed one by one; database errors are shown and end only their step.
	void GeneraTmpRiclassificazioneTesta(const DataStr& aOperatore);
};

KvzDblInfo* AfxGetKvzDblInfo();
