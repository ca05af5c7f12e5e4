#pragma once
// Reclassification model codes.
#include "platform/plvoledb/SqlRecord.h"

class Kvz_TModelliRiclassificazione : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TModelliRiclassificazione, SqlRecord)
public:
	explicit Kvz_TModelliRiclassificazione(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_ModelliRiclassificazione"); }
	void BindRecord() override;

	DataStr f_ModelloRiclassific;
	DataStr f_Descrizione;
};
