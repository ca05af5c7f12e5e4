#pragma once
// The cost lines of a cost driver: the cost code, its formula, the codes that receive the
// allocation and twelve monthly standard costs.
#include "platform/plvoledb/SqlRecord.h"

class TKvzDriversCosti : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversCosti, SqlRecord)
public:
	explicit TKvzDriversCosti(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversCosti"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloDrivers;
	DataStr f_CodRiclassificCosto;
	DataStr f_Descrizione;
	DataStr f_Formula;  // kept as typed
	DataStr f_CodRiclRibaldamento;
	DataStr f_CodRiclRibaldamentoStd;
	DataMon f_CostoStandard[12];  // index 0 is January
};
