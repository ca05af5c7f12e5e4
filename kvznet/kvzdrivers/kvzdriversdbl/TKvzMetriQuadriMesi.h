#pragma once
// A warehouse's monthly floor area split over companies and reclassification models (the rows
// of a KvzMetriQuadriTesta header).
#include "platform/plvoledb/SqlRecord.h"

class TKvzMetriQuadriMesi : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzMetriQuadriMesi, SqlRecord)
public:
	explicit TKvzMetriQuadriMesi(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzMetriQuadriMesi"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_CodMagazzino;
	DataInt f_Mese;
	DataInt f_Anno;
	DataStr f_Ditta;
	DataStr f_ModelloRiclassific;
	DataQty f_MetriQuadri;

	DataStr l_DescriModello;  // description of the model, for the form
};
