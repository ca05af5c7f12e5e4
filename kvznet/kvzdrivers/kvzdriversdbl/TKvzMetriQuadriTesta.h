#pragma once
// Floor area of a warehouse in one month of a fiscal year.
#include "platform/plvoledb/SqlRecord.h"

class TKvzMetriQuadriTesta : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzMetriQuadriTesta, SqlRecord)
public:
	explicit TKvzMetriQuadriTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzMetriQuadriTesta"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_CodMagazzino;
	DataInt f_Mese;
	DataStr f_Descrizione1;
	DataStr f_Descrizione2;
	DataStr f_Descrizione3;
	DataStr f_Descrizione4;
	DataStr f_CodiceDrivers;
	DataQty f_TotaleMetriQuadri;

	DataQty l_MetriQuadriRighe;  // square metres of the rows, for the form
};
