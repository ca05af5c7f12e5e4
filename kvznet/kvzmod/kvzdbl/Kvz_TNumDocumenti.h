#pragma once
// The last non-fiscal number handed out per year and document type (read and written by the
// number manager).
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvoledb/SqlRecord.h"

class Kvz_TNumDocumenti : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TNumDocumenti, SqlRecord)
public:
	explicit Kvz_TNumDocumenti(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_NumDocumenti"); }
	void BindRecord() override;

	DataInt f_Anno;
	DataEnum f_TipoDoc{E_KVZ_TIPODOCUMENTO, 0};
	DataDate f_DataUltDoc;
	DataLng f_UltNrDoc;
};
