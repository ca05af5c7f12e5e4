#pragma once
// The last document identifier handed out per archive kind (read and written by the id manager).
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvoledb/SqlRecord.h"

class Kvz_TIDDocumenti : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TIDDocumenti, SqlRecord)
public:
	explicit Kvz_TIDDocumenti(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_IDDocumenti"); }
	void BindRecord() override;

	DataEnum f_SpecieArchivio{E_KVZ_SPECIEARCHIVIO, 0};
	DataLng f_UltimoID;
};
